// TOptionForm: the options dialog. It has no copy of the settings: its pages
// write the clock's live fields as their controls change, and the clock saves
// them after the dialog has closed, whichever way it closed (every close is OK).
#pragma once

#include "core/Settings.h"

#include <QDialog>
#include <QFont>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QColorDialog;
class QFileDialog;
class QFontDialog;
class QScreen;
class QPushButton;
class QScrollArea;
class QStackedWidget;

namespace velmora {

class TColorPanel;

class IOptionHost;
class TOptionPage;
class TKvPngButton;
class TKvTab;
class TKvTabSet;

class TOptionForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 6;

    explicit TOptionForm(IOptionHost& host, QWidget* parent = nullptr);
    ~TOptionForm() override;

    IOptionHost& Host() const { return FHost; }
    // Sizes are given at 96 dots per inch and scaled by the screen's.
    double Scale() const { return FScale; }
    int Scaled(int pixels) const;
    // Places a page's control, its rectangle given at 96 dots per inch.
    void Place(QWidget* control, int x, int y, int width, int height) const;
    // A colour swatch at (x, y), given at 96 dots per inch.
    TColorPanel* NewColorPanel(QWidget* parent, const char* name, int x, int y) const;

    TKvTabSet* OptionTabSet = nullptr;
    // The tab set and the pages, at their design size; they scroll inside
    // PageScroller when the screen is too small for the whole dialog.
    QWidget* PageArea = nullptr;
    QScrollArea* PageScroller = nullptr;
    QStackedWidget* OptionPageControl = nullptr;
    QWidget* BottomPanel = nullptr;
    TKvPngButton* ShortcutSpeedButton = nullptr;
    QPushButton* SaveSettingsButton = nullptr;

    // The pages in tab order: text, font and colour, window, balloon, alarm, commands.
    TOptionPage* Page(int index) const { return FPages.at(std::size_t(index)); }
    template <class T> T* PageOf() const {
        for (TOptionPage* p : FPages)
            if (auto* t = qobject_cast<T*>(p))
                return t;
        return nullptr;
    }
    int ActivePageIndex() const;
    // An index outside the pages opens the first page.
    void SetActivePageIndex(int index);

    // The common dialogs, run modally; empty optional on Cancel. Tests replace them.
    struct TDialogRunners {
        std::function<std::optional<QColor>(QColorDialog&)> Color;
        std::function<std::optional<QFont>(QFontDialog&)> Font;
        std::function<std::optional<QString>(QFileDialog&)> OpenFile;
    };
    TDialogRunners Dialogs;

    // The showing sequence: texts, tab set, every page loaded from the clock,
    // the remembered page. Runs once, when the dialog is first shown.
    void FormShow();
    bool Shown() const { return FShown; }
    // The texts of the current language, on every page.
    void ApplyLangToOptionForm();
    // The alarm started or stopped.
    void AlarmStateChanged();
    // A page changed clock settings that other pages mirror.
    void NotifySettingsChanged(TOptionPage* from);

    // The remembered page and grid columns, from and to the settings file.
    void LoadOptionFormState();
    void SaveOptionFormState();

    // Every close runs these: the edit boxes are committed; a page may refuse
    // (with its message); then the dialog closes with OK.
    bool FormCloseQuery();
    void FormClose();
    void SaveSettingsButtonClick();
    void OptionTabSetTabSelected(TKvTab* tab, bool selected);

    // The dialog's size at 96 dots per inch scaled, before any fitting.
    QSize DesignSize() const;
    // Shrinks the dialog to what `available` (a screen's work area) holds with
    // the window frame `frame` around it, never beyond its design size; the
    // pages scroll in what is left.
    void FitInto(const QRect& available, const QMargins& frame);

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // There is no cancel: Escape does not close.
    void reject() override {}

private:
    void FormCreate();
    void CreateTabSet();
    void CreateBottomBar();
    void LayOutFrame();
    QScreen* TargetScreen() const;
    QMargins FrameEstimate() const;
    void KeepWhollyOnScreen();
    void CommitEdits();
    bool CloseWithOk();

    IOptionHost& FHost;
    double FScale = 1.0;
    bool FShown = false;
    // Until the window manager has framed the shown dialog, its real frame is
    // unknown; the first move after that checks the fit with the real frame.
    bool FFramePending = false;
    std::array<TOptionPage*, kPageCount> FPages{};
};

} // namespace velmora
