#include "Gallery.h"
#include "widgets/KvEdit.h"
#include "widgets/KvSpacer.h"

#include <QLabel>

using namespace velmora;

namespace {

TKvEdit* AddEdit(QWidget* page, int y, const QString& text, TEditBorderStyle border,
                 TKvFlatStyle flat, TVerticalAlignment valign, int height = 23) {
    auto* e = new TKvEdit(page);
    e->setGeometry(150, y, 180, height);
    e->SetBorderStyle(border);
    e->SetFlatStyle(flat);
    e->SetVerticalAlignment(valign);
    e->setText(text);
    e->setCursorPosition(0);
    return e;
}

void AddCaption(QWidget* page, int y, const QString& text) {
    auto* l = new QLabel(text, page);
    l->move(10, y + 4);
    l->adjustSize();
}

} // namespace

VELMORA_GALLERY_PAGE("edit") {
    QWidget page;
    page.resize(360, 290);
    page.setAutoFillBackground(true);

    AddCaption(&page, 10, QStringLiteral("single, centre"));
    AddEdit(&page, 10, QStringLiteral("yyyy-mm-dd 日本語"), ebsSingle, kfsFlatNone,
            taVerticalCenter);
    AddCaption(&page, 45, QStringLiteral("flat, top (30 px)"));
    AddEdit(&page, 45, QStringLiteral("VelmoSync"), ebsNone, kfsFlatNormal, taAlignTop, 30);
    AddCaption(&page, 85, QStringLiteral("flat, bottom (30 px)"));
    AddEdit(&page, 85, QStringLiteral("ntp.example.org"), ebsNone, kfsFlatNormal, taAlignBottom,
            30);
    AddCaption(&page, 125, QStringLiteral("rounded, centre"));
    auto* rounded = AddEdit(&page, 125, QStringLiteral("角丸の枠"), ebsNone, kfsFlatRounded,
                            taVerticalCenter, 26);
    rounded->SetCornerRadius(5);
    AddCaption(&page, 160, QStringLiteral("hint, no border"));
    auto* hint = AddEdit(&page, 160, QString(), ebsNone, kfsFlatNone, taVerticalCenter);
    hint->SetTextHint(QStringLiteral("ここに入力"));
    AddCaption(&page, 195, QStringLiteral("disabled"));
    AddEdit(&page, 195, QStringLiteral("読み取り専用"), ebsSingle, kfsFlatNone, taVerticalCenter)
        ->setEnabled(false);

    auto* h = new TKvSpacer(&page);
    h->setGeometry(10, 235, 340, 5);
    h->SetLineDirection(ldHorizontal);
    h->SetLineShape(lsSingle);
    auto* h2 = new TKvSpacer(&page);
    h2->setGeometry(10, 245, 340, 5);
    h2->SetLineDirection(ldHorizontal);
    h2->SetLineShape(lsDouble);
    auto* v = new TKvSpacer(&page);
    v->setGeometry(135, 10, 10, 210);
    v->SetLineShape(lsSingle);

    gallery::Snap(&page, out, QStringLiteral("edit"));
}
