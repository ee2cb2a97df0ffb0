// Loading and saving the clock's settings file.
#include "Main.h"
#include "VelmoLib.h"

namespace velmora {

void TMainForm::SyncSettingsFromWindow() {
    Left = pos().x();
    Top = pos().y();
    Width = width();
    Height = height();
}

void TMainForm::LoadSettings() {
    const IniDocument doc(FIniFileName);
    if (!doc.ReadError().isEmpty()) {
        // Starting with defaults is fine; writing them over the user's file is not.
        FSettingsUnreadable = true;
        ShowMessageDialog(QStringLiteral("The settings file \"%1\" cannot be read: %2\n"
                                         "Velmora starts with its default settings and "
                                         "will not overwrite that file.")
                              .arg(FIniFileName, doc.ReadError()),
                          TMsgDlgType::Warning, mbOK);
    }
    SyncSettingsFromWindow();
    LoadSettingsFrom(doc, *this, Env());
    move(Left, Top);
    resize(std::max(Width, 1), std::max(Height, 1));
}

void TMainForm::SaveSettings() {
    if (FSettingsUnreadable)
        return;
    SyncSettingsFromWindow();
    IniDocument doc(FIniFileName);
    if (!doc.ReadError().isEmpty())
        return; // became unreadable meanwhile: never replace what we could not read
    SaveSettingsTo(doc, *this, Env());
    doc.UpdateFile();
}

} // namespace velmora
