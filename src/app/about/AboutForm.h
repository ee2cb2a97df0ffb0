// TAboutForm: the about dialog (icon, title, the program's version read from its
// own file, author line, the maker's link, the credits of the libraries it carries).
#pragma once

#include "core/ColorText.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class Platform;
class TKvSpacer;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // `executable` is the file whose version the dialog shows (the running program).
    explicit TAboutForm(Platform& platform, QString executable = QString(),
                        QWidget* parent = nullptr);

    // The link colour: the desktop's link colour text, parsed ("0,0,255" when none).
    TColor GetIEAnchorColor() const;
    // Moves every label of the dialog that is taller than 12 pixels up by half of
    // what its text height exceeds 12 pixels (and down for a smaller font).
    void AdjustLabelTops();

    QLabel* TitleLabel = nullptr;
    QLabel* IconImage = nullptr;
    TKvSpacer* VSpacer = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* AuthorLabel = nullptr;
    QLabel* WebSiteLabel = nullptr;
    QPushButton* OKButton = nullptr;
    TKvSpacer* HSpacer = nullptr;
    QPlainTextEdit* CreditMemo = nullptr;

    TColor IEAnchorColor() const { return FIEAnchorColor; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void ApplyTexts();
    void WebSiteLabelClick(QObject* sender);
    void WebSiteLabelMouseEnter();
    void WebSiteLabelMouseLeave();
    void CreditMemoEnter();
    bool CreditMemoKeyDown(QKeyEvent* event);
    QString VersionText() const;
    QString CarriedLibrariesText();

    Platform& FPlatform;
    const QString FExecutable;
    TColor FIEAnchorColor = 0;
    bool FShown = false;
};

} // namespace velmora
