// One page of the options dialog. The dialog (TOptionForm) owns the pages and
// runs them in the order the dialog shows them; a page writes the clock's live
// settings as its controls change and has no copy of its own.
#pragma once

#include <QWidget>

namespace velmora {

class IOptionHost;
class TOptionForm;
struct TOptionFormState;

class TOptionPage : public QWidget {
    Q_OBJECT
public:
    TOptionPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
        : QWidget(parent), FHost(host), FForm(form) {}

    // The page's texts from the current language, applied when the dialog is shown
    // and again when a language is chosen while it is open. The dialog has set
    // every "<Name>.Caption" and "<Name>.Items[i]" text on the control of that
    // object name already (ApplyFormCaption); a page adds what follows from them
    // (texts built from a pattern, captions that depend on a state).
    virtual void ApplyLang() {}
    // The page's step of the showing sequence: every control loaded from the clock.
    virtual void LoadFromMain() {}
    // Commits the page's edit boxes as their exit handlers do (the save button).
    virtual void CommitEdits() {}
    // Another page changed a clock setting this page mirrors (colour modes,
    // the see-through background, the outline): bring the dependent controls in line.
    virtual void MainSettingsChanged() {}
    // The alarm started or stopped while the dialog is open.
    virtual void AlarmStateChanged() {}
    // Asked before the dialog closes; a page that refuses shows why.
    virtual bool CanClose() { return true; }
    // The dialog's remembered state (the grid's column widths), read after the
    // pages were loaded and written before the settings are saved.
    virtual void LoadState(const TOptionFormState&) {}
    virtual void SaveState(TOptionFormState&) const {}

protected:
    IOptionHost& FHost;
    TOptionForm& FForm;
};

} // namespace velmora
