#include "app/Captions.h"

#include <QCoreApplication>
#include <QVariant>

namespace vq {

namespace {

const char *const kCaptions = "vqCaptions";

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
