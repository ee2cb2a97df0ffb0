#include "app/VelmoLib.h"

#include "app/LangFiles.h"
#include "core/Settings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

// Outside any namespace, as the resource compiler's registration function is.
static void RegisterAppResourcesOnce() {
    Q_INIT_RESOURCE(app);
}

namespace velmora {

void RegisterAppResources() {
    // The program's pictures live in a static library, which registers nothing by
    // itself; registering twice is harmless.
    RegisterAppResourcesOnce();
}

namespace {

TMessageDialogHook& MessageHook() {
    static TMessageDialogHook hook;
    return hook;
}

} // namespace

void SetMessageDialogHook(TMessageDialogHook hook) {
    MessageHook() = std::move(hook);
}

QString MessageDialogCaption(const QString& languageCaption) {
    return languageCaption.isEmpty() ? QStringLiteral("Velmora [Information]") : languageCaption;
}

std::unique_ptr<QMessageBox> BuildMessageDialog(const QString& text, TMsgDlgType kind,
                                                TMsgDlgButtons buttons, QWidget* owner) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case TMsgDlgType::Warning:
        icon = QMessageBox::Warning;
        break;
    case TMsgDlgType::Error:
        icon = QMessageBox::Critical;
        break;
    case TMsgDlgType::Information:
        icon = QMessageBox::Information;
        break;
    case TMsgDlgType::Confirmation:
        icon = QMessageBox::Question;
        break;
    }
    // Owned by this pointer, not by `owner`: the caller destroys it.
    auto box = std::make_unique<QMessageBox>(
        icon, MessageDialogCaption(Messages().MsgDialogCaption), text, QMessageBox::NoButton);
    Q_UNUSED(owner);
    if (buttons.testFlag(mbOK))
        box->addButton(QMessageBox::Ok);
    if (buttons.testFlag(mbCancel))
        box->addButton(QMessageBox::Cancel);
    if (box->buttons().isEmpty())
        box->addButton(QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                      QWidget* owner) {
    if (MessageHook()) {
        const auto hook = MessageHook(); // the hook may replace itself
        return hook(text, kind, buttons, owner);
    }
    std::unique_ptr<QMessageBox> box = BuildMessageDialog(text, kind, buttons, owner);
    box->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = box->frameGeometry();
        r.moveCenter(screen->geometry().center());
        box->move(r.topLeft());
    }
    box->exec();
    return box->standardButton(box->clickedButton()) == QMessageBox::Cancel ? mrCancel : mrOk;
}

TMessageQueue::TMessageQueue(TShow show) : FShow(std::move(show)) {
    if (!FShow)
        FShow = [](const QString& text, TMsgDlgType kind) { ShowMessageDialog(text, kind, mbOK); };
}

void TMessageQueue::Post(const QString& text, TMsgDlgType kind) {
    const bool repeat =
        FShowing == text || std::any_of(FWaiting.begin(), FWaiting.end(),
                                        [&text](const auto& m) { return m.first == text; });
    if (repeat)
        return;
    FWaiting.emplace_back(text, kind);
    Schedule();
}

void TMessageQueue::Schedule() {
    if (FScheduled || FShowing || FWaiting.empty())
        return;
    FScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [this] {
        FScheduled = false;
        ShowNext();
    });
}

void TMessageQueue::ShowNext() {
    if (FShowing || FWaiting.empty())
        return;
    const auto [text, kind] = FWaiting.front();
    FWaiting.pop_front();
    FShowing = text;
    // The box runs its own event loop: whatever is posted meanwhile waits its turn.
    try {
        FShow(text, kind);
    } catch (...) {
        FShowing.reset();
        Schedule();
        throw;
    }
    FShowing.reset();
    Schedule();
}

TMessageQueue& PostedMessages() {
    static TMessageQueue queue;
    return queue;
}

void PostMessageDialog(const QString& text, TMsgDlgType kind) {
    PostedMessages().Post(text, kind);
}

bool IsAlreadyRunning(Platform& platform, const QString& name) {
    QString refused;
    if (platform.RuntimeDir(&refused).isEmpty()) {
        // No folder of this user alone for the lock and the channel: the clock runs
        // unguarded rather than share them with others (why: standard error). The
        // language file is not read yet, so the text is the table's built-in one.
        const QString text = Messages().MsgErrorCannotOpenItem.isEmpty()
                                 ? FallbackText(QStringLiteral("MsgErrorCannotOpenItem"))
                                 : Messages().MsgErrorCannotOpenItem;
        ShowMessageDialog(FormatMsg(text, {refused}), TMsgDlgType::Error, mbOK);
        return false;
    }
    if (platform.AcquireInstanceLock(name))
        return false;
    ShowMessageDialog(QStringLiteral("Velmora is already running."), TMsgDlgType::Warning, mbOK);
    platform.ActivateOtherInstance(name);
    return true;
}

void DrawTransparentMark(QImage& image) {
    QImage pattern(8, 8, QImage::Format_ARGB32);
    pattern.fill(Qt::white);
    const QColor silver(192, 192, 192);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x < 4) == (y < 4))
                pattern.setPixelColor(x, y, silver);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(image.rect(), QBrush(pattern));
}

void DrawNoBorderMark(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 0, 0), 1.0));
    const qreal w = image.width(), h = image.height();
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(-1, h), QPointF(w, 0));
}

void EditDblClick(QLineEdit* edit) {
    if (edit)
        edit->selectAll();
}

QStringList OpenDialogNameFilters(const QString& filter) {
    // "Sound Files (*.mp3; *.wav)|*.mp3;*.wav": the description is shown, the
    // patterns are what the dialog matches.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pat : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << pat.trimmed();
        QString description = parts[i].trimmed();
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

void PrepareOpenDialog(QFileDialog& dialog, const QString& fileName, const QString& filter,
                       const QString& fallbackDir) {
    const QFileInfo file(fileName);
    const bool exists = !fileName.isEmpty() && file.isFile();
    const QString folder = fileName.isEmpty() ? QString() : file.absolutePath();
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(OpenDialogNameFilters(filter));
    dialog.setDirectory(!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallbackDir);
    if (exists)
        dialog.selectFile(file.absoluteFilePath());
}

int GetTextTopMargin(const QFontMetrics& metrics, int rowHeight) {
    const int h = metrics.height();
    const int diff = rowHeight - h;
    if (diff >= 0)
        return diff / 2;
    return int(std::nearbyint(diff / 2.0)); // a line taller than the row: halves to even
}

QString GetFontStyleStr(int bits) {
    QStringList names;
    if (bits & fsBold)
        names << QStringLiteral("Bold");
    if (bits & fsItalic)
        names << QStringLiteral("Italic");
    if (bits & fsUnderline)
        names << QStringLiteral("Underline");
    if (bits & fsStrikeOut)
        names << QStringLiteral("StrikeOut");
    return names.isEmpty() ? QStringLiteral("Roman") : names.join(QStringLiteral(", "));
}

QString GetFontStyleStr(const QFont& font) {
    return GetFontStyleStr((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                           (font.underline() ? fsUnderline : 0) |
                           (font.strikeOut() ? fsStrikeOut : 0));
}

} // namespace velmora
