#include "app/AboutDialog.h"

#include "kestrel/Version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QString text(Language lang, const char* russian, const char* english)
{
    return QString::fromUtf8(tr(lang, russian, english));
}

// A small two-layer board: copper tracks between pads under a kestrel's
// wing, drawn rather than loaded so the box needs no picture file.
class AboutPicture : public QWidget {
public:
    explicit AboutPicture(QWidget* parent) : QWidget(parent)
    {
        setObjectName("TitelBild");
        setFixedSize(360, 170);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0x1f, 0x5f, 0x3a));
        p.setPen(QPen(QColor(0x2e, 0x7d, 0x4f), 1));
        for (int x = 10; x < width(); x += 20)
            p.drawLine(x, 0, x, height());
        for (int y = 10; y < height(); y += 20)
            p.drawLine(0, y, width(), y);

        const QColor copper(0xd9, 0x8c, 0x3f);
        p.setPen(QPen(copper, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygon({{30, 130}, {90, 130}, {130, 90}, {230, 90}}));
        p.drawPolyline(QPolygon({{30, 150}, {110, 150}, {150, 110}, {330, 110}}));
        p.setPen(QPen(QColor(0x3f, 0x7f, 0xd9), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(230, 90, 330, 40);
        p.setPen(Qt::NoPen);
        for (const QPoint c : {QPoint(30, 130), QPoint(30, 150), QPoint(230, 90), QPoint(330, 110), QPoint(330, 40)}) {
            p.setBrush(copper);
            p.drawEllipse(c, 9, 9);
            p.setBrush(QColor(0x10, 0x10, 0x10));
            p.drawEllipse(c, 3, 3);
        }

        // The bird: a swept wing and a tail in silk-screen white.
        QPainterPath bird;
        bird.moveTo(60, 60);
        bird.cubicTo(90, 20, 140, 15, 190, 30);
        bird.cubicTo(150, 35, 125, 45, 110, 60);
        bird.lineTo(150, 62);
        bird.lineTo(108, 72);
        bird.cubicTo(90, 75, 72, 70, 60, 60);
        p.setBrush(QColor(0xf2, 0xf2, 0xf2));
        p.drawPath(bird);

        QFont font = p.font();
        font.setPointSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0xf2, 0xf2, 0xf2));
        p.drawText(QRect(190, 124, 160, 40), Qt::AlignRight | Qt::AlignVCenter, "Kestrel");
    }
};

} // namespace

QPixmap aboutPicture()
{
    AboutPicture picture(nullptr);
    return picture.grab();
}

AboutDialog::AboutDialog(Language lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("InfoDlg");
    setWindowTitle(text(lang, "О программе", "About Kestrel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new AboutPicture(this), 0, Qt::AlignHCenter);

    auto* version = new QLabel(QString("<b>Kestrel %1 R</b><br>").arg(kVersion) +
                                   text(lang, "Редактор одно- и двусторонних печатных плат",
                                        "Editor for single- and double-sided printed circuit boards"),
                               this);
    version->setObjectName("L_Version");
    version->setAlignment(Qt::AlignHCenter);
    layout->addWidget(version);

    auto* licences = new QLabel(
        text(lang, "Используемые библиотеки и их лицензии:", "Libraries used and their licences:") + "<ul>" +
            QString("<li>Qt %1 — GNU LGPL 3</li>").arg(qVersion()) +
            "<li>Clipper (polyclipping) — Boost Software License 1.0</li>"
            "<li>Boost.Geometry — Boost Software License 1.0</li>"
            "<li>Liberation Fonts — SIL Open Font License 1.1</li></ul>",
        this);
    licences->setObjectName("L_Lizenzen");
    licences->setProperty("properNames", true); // library and licence names stay as their authors write them
    licences->setTextFormat(Qt::RichText);
    layout->addWidget(licences);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text(lang, "ОК", "OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace kestrel
