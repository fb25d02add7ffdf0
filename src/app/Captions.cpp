#include "app/Captions.h"

#include "app/Appearance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QRadioButton>
#include <QStyle>
#include <QVariant>

#include <algorithm>

namespace vq {

namespace {

const char *const kCaptions = "vqCaptions";
// The geometry a widget had before fitting, and the one fitting gave it.
const char *const kFitFrom = "vqFitFrom";
const char *const kFitTo = "vqFitTo";

QString shownText(QString text)
{
    // A mnemonic's '&' is not drawn; "&&" is one '&'.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// What the widget's text needs; its own size where it has no text to fit.
QSize neededSize(const QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const QStyle *style = widget->style();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return label->size();
        if (label->wordWrap())
            return {label->width(), label->heightForWidth(label->width())};
        return label->sizeHint();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        int width = metrics.horizontalAdvance(shownText(button->text().trimmed()));
        if (qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button))
            width += style->pixelMetric(QStyle::PM_IndicatorWidth) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2;
        else
            width += 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
        if (!button->icon().isNull())
            width += button->iconSize().width() + 4;
        return {std::max(width, button->width()), std::max(metrics.height(), button->height())};
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        const QMargins margins = edit->textMargins();
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
        const int hint = metrics.horizontalAdvance(edit->placeholderText()) + margins.left() + margins.right() + frame;
        return {std::max(hint, edit->width()), edit->height()};
    }
    return widget->size();
}

void setFitted(QWidget *widget, const QRect &geometry)
{
    if (!widget->property(kFitFrom).isValid())
        widget->setProperty(kFitFrom, widget->geometry());
    widget->setGeometry(geometry);
    widget->setProperty(kFitTo, geometry);
}

// A container the program lays out by hand: a form, a frame or group box
// of one, or a window without a layout. Qt's own composite widgets (scroll
// areas, menu bars, line edits' buttons) place their parts themselves.
bool handLaid(const QWidget *container)
{
    if (!container || container->layout() || container->objectName().startsWith(QLatin1String("qt_")))
        return false;
    const QMetaObject *kind = container->metaObject();
    return container->isWindow() || QByteArray(kind->className()).startsWith("vq::") ||
           kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject ||
           kind == &QGroupBox::staticMetaObject;
}

bool fittable(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QPushButton *>(widget) ||
           qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget) ||
           qobject_cast<const QLineEdit *>(widget);
}

// `widget` grew or moved from `before`: each sibling it now covers that
// stood below or beside it moves out of its way (and so on from there), and
// a container that no longer holds it grows.
void makeRoom(QWidget *widget, const QRect &before, QWidget *window)
{
    const QRect at = widget->geometry();
    QWidget *parent = widget->parentWidget();
    for (QObject *object : parent->children()) {
        auto *sibling = qobject_cast<QWidget *>(object);
        if (!sibling || sibling == widget || sibling->isWindow() || !sibling->isVisibleTo(parent) ||
            !sibling->geometry().intersects(at) || sibling->geometry().intersects(before))
            continue;
        const QRect there = sibling->geometry();
        if (there.top() > before.bottom())
            setFitted(sibling, there.translated(0, at.bottom() + 1 - there.top()));
        else if (there.left() > before.right())
            setFitted(sibling, there.translated(at.right() + 1 - there.left(), 0));
        else
            continue;
        makeRoom(sibling, there, window);
    }
    if (parent == window || !handLaid(parent->parentWidget()))
        return;
    const QRect inside = parent->contentsRect();
    const int dx = std::max(0, at.right() - inside.right());
    const int dy = std::max(0, at.bottom() - inside.bottom());
    if (dx > 0 || dy > 0) {
        const QRect outer = parent->geometry();
        setFitted(parent, outer.adjusted(0, 0, dx, dy));
        makeRoom(parent, outer, window);
    }
}

void fitWidget(QWidget *widget, QWidget *window)
{
    if (widget->property(kNotFitted).toBool() || !fittable(widget))
        return;
    QWidget *parent = widget->parentWidget();
    if (parent && parent->layout()) {
        // The layout sizes it; a hint it would cut is the only thing to add.
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setMinimumWidth(std::max(edit->minimumWidth(), neededSize(edit).width()));
        return;
    }
    if (!handLaid(parent))
        return;
    const QSize need = neededSize(widget);
    const QRect before = widget->geometry();
    QRect after = before;
    if (need.width() > before.width())
        after.setWidth(need.width());
    if (need.height() > before.height())
        after.setHeight(need.height());
    if (after == before)
        return;
    setFitted(widget, after);
    makeRoom(widget, before, window);
}

} // namespace

void setCaption(const QObject *owner, QObject *object, const char *property, const char *source)
{
    QVariantMap captions = object->property(kCaptions).toMap();
    const QString context = QString::fromLatin1(owner->metaObject()->className());
    captions.insert(QString::fromLatin1(property), QStringList{context, QString::fromUtf8(source)});
    object->setProperty(kCaptions, captions);
    object->setProperty(property, QCoreApplication::translate(owner->metaObject()->className(), source));
}

void recaption(QObject *root)
{
    QList<QObject *> objects = root->findChildren<QObject *>();
    objects.prepend(root);
    for (QObject *object : objects) {
        const QVariantMap captions = object->property(kCaptions).toMap();
        for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
            const QStringList where = it.value().toStringList();
            object->setProperty(
                it.key().toLatin1().constData(),
                QCoreApplication::translate(where[0].toLatin1().constData(), where[1].toUtf8().constData()));
        }
    }
}

} // namespace vq

namespace vq {

void fitTexts(QWidget *window)
{
    // What an earlier fit changed goes back, unless the program moved it
    // since: each language is fitted from the same layout.
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->property(kFitTo).isValid() && widget->geometry() == widget->property(kFitTo).toRect())
            widget->setGeometry(widget->property(kFitFrom).toRect());
        widget->setProperty(kFitTo, QVariant());
    }
    const bool fixed = window->minimumSize() == window->maximumSize();
    if (window->property(kFitTo).isValid() && window->size() == window->property(kFitTo).toSize()) {
        if (fixed)
            window->setFixedSize(window->property(kFitFrom).toSize());
        else
            window->resize(window->property(kFitFrom).toSize());
    }
    window->setProperty(kFitTo, QVariant());
    for (QWidget *widget : widgets)
        if (!widget->isWindow() && widget->window() == window)
            fitWidget(widget, window);
    // Every menu title in view, never behind the bar's overflow arrow: the
    // window is at least as wide as its menu bar needs.
    // Where the titles are too wide for the window, the bar draws them
    // closer together first; only then does the window grow.
    if (auto *main = qobject_cast<QMainWindow *>(window); main && main->menuWidget()) {
        QWidget *bar = main->menuWidget();
        const QSize least = main->layout()->totalMinimumSize();
        bar->setStyleSheet(QString());
        bar->setMinimumHeight(0);
        if (const int height = bar->sizeHint().height(); bar->sizeHint().width() > least.width()) {
            bar->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 1px 2px; }"));
            bar->setMinimumHeight(height); // the form below stays where it was
        }
        main->setMinimumSize(std::max(least.width(), bar->sizeHint().width()), least.height());
    }
    // A layout places the new texts at once, not at its next turn: until
    // then the window would show them cut.
    if (window->layout()) {
        window->layout()->activate();
        return;
    }
    QSize wanted = window->size();
    const int margin = twips(window, 120);
    for (QWidget *widget : widgets)
        if (widget->parentWidget() == window && !widget->isWindow() && widget->property(kFitTo).isValid()) {
            const QRect at = widget->geometry();
            if (at.right() >= window->width())
                wanted.setWidth(std::max(wanted.width(), at.right() + 1 + margin));
            if (at.bottom() >= window->height())
                wanted.setHeight(std::max(wanted.height(), at.bottom() + 1 + margin));
        }
    if (wanted == window->size())
        return;
    if (!window->property(kFitFrom).isValid())
        window->setProperty(kFitFrom, window->size());
    if (fixed)
        window->setFixedSize(wanted);
    else
        window->resize(wanted);
    window->setProperty(kFitTo, wanted);
}

namespace {

class TextFitter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !widget->isWindow())
            return false;
        if (event->type() == QEvent::Show && !widget->property(kFitted).toBool()) {
            widget->setProperty(kFitted, true);
            fitTexts(widget);
        } else if (event->type() == QEvent::LanguageChange && !handling_.contains(widget)) {
            // The window's own handling puts in the new texts first; then
            // they are fitted, before anything is drawn.
            handling_.insert(widget);
            QCoreApplication::sendEvent(widget, event);
            handling_.remove(widget);
            fitTexts(widget);
            return true;
        }
        return false;
    }

private:
    static constexpr const char *kFitted = "vqFitted";
    QSet<QObject *> handling_;
};

} // namespace

void fitTextsOfEveryWindow()
{
    const QString name = QStringLiteral("vqTextFitter");
    if (qApp->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return;
    auto *fitter = new TextFitter(qApp);
    fitter->setObjectName(name);
    qApp->installEventFilter(fitter);
}

} // namespace vq
