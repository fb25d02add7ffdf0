#include "plan/Notice.h"

#include <QTest>

namespace vq::texts {

QTestData &operator<<(QTestData &data, const Text &text)
{
    return data << text.text();
}

} // namespace vq::texts
