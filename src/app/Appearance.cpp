#include "app/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

namespace vq {

namespace {
const QString kKai = QStringLiteral("楷体_GB2312");
const QString kSong = QStringLiteral("宋体");
} // namespace

void installChineseFonts()
{
    QFont::insertSubstitutions(kKai, {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UKai TW"),
                                      QStringLiteral("KaiTi"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(kSong, {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                       QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                                       QStringLiteral("WenQuanYi Zen Hei")});
    // Left alone, Qt picks the first Chinese face it finds (the Kai one) for
    // every menu and dialog.
    QFont base = songFont(QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF() : 9);
    QApplication::setFont(base);
}

namespace {

// The first installed face of a list, else the design name itself (which
// then goes through the substitutions above). Naming the real face keeps
// text metrics and drawing on one font; a substituted name measures with
// the fallback and clips captions.
QString resolvedFamily(const QString &designName, const QStringList &faces)
{
    static QHash<QString, QString> cache;
    auto it = cache.constFind(designName);
    if (it != cache.constEnd())
        return *it;
    const QStringList installed = QFontDatabase::families();
    QString chosen = designName;
    for (const QString &face : faces) {
        if (installed.contains(face)) {
            chosen = face;
            break;
        }
    }
    cache.insert(designName, chosen);
    return chosen;
}

QFont sized(const QString &family, double points)
{
    QFont f(family);
    f.setPointSizeF(points);
    return f;
}

} // namespace

QFont kaiFont(double points)
{
    return sized(resolvedFamily(kKai, QFont::substitutes(kKai)), points);
}

QFont songFont(double points)
{
    return sized(resolvedFamily(kSong, QFont::substitutes(kSong)), points);
}

QIcon appIcon()
{
    // Drawn at each size a desktop asks for (menus, panels, task switchers,
    // a scaled screen), so none is a blurred enlargement of another.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        // A handheld radio: antenna, body, display and keypad.
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.drawLine(QPointF(11, 2), QPointF(11, 9));
        p.setPen(QPen(QColor(20, 20, 20), 1));
        p.setBrush(QColor(30, 60, 120));
        p.drawRoundedRect(QRectF(7.5, 8.5, 17, 22), 3, 3);
        p.setBrush(QColor(170, 230, 170));
        p.drawRect(QRectF(10.5, 11.5, 11, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 230, 230));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawEllipse(QRectF(10.5 + col * 4, 20 + row * 3.2, 2.4, 2.4));
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(QRectF(19, 3, 4, 4));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

int twips(const QWidget *widget, double value)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return qRound(value * dpi / 1440.0);
}

QRect twipsRect(const QWidget *widget, double left, double top, double width, double height)
{
    return QRect(twips(widget, left), twips(widget, top), twips(widget, width), twips(widget, height));
}

} // namespace vq
