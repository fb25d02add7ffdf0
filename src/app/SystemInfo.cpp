#include "app/SystemInfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <cstring>
#endif

namespace vq {

namespace {

// Programs that show the machine's hardware and system: dedicated ones first, then the desktops' own.
const char *const kSystemInfoPrograms[] = {
    "hardinfo2", "hardinfo", "kinfocenter", "xfce4-about", "mate-system-monitor", "gnome-system-monitor"};

#ifdef Q_OS_WIN
struct KeyValue {
    bool found = false;
    QString text;
};

// One value of a key; a value of a type that is neither text nor a 32-bit
// number still counts as found, with an empty text.
KeyValue GetKeyValue(HKEY root, const wchar_t *key, const wchar_t *name)
{
    KeyValue result;
    HKEY handle = nullptr;
    // Read access only: asking for more is refused to ordinary users.
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return result;
    BYTE buffer[1024];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(handle, name, nullptr, &type, buffer, &size) == ERROR_SUCCESS) {
        result.found = true;
        if (type == REG_SZ) {
            const auto *chars = reinterpret_cast<const wchar_t *>(buffer);
            qsizetype length = static_cast<qsizetype>(size / sizeof(wchar_t));
            if (length > 0 && chars[length - 1] == L'\0')
                --length;
            result.text = QString::fromWCharArray(chars, length);
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, buffer, sizeof number);
            result.text = QString::number(number);
        }
    }
    RegCloseKey(handle);
    return result;
}

QString systemInfoProgram()
{
    const KeyValue path =
        GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH");
    if (path.found)
        return path.text;
    const KeyValue folder =
        GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO");
    const QString program = folder.text + QStringLiteral("\\MSINFO32.EXE");
    return folder.found && QFileInfo::exists(program) ? program : QString();
}
#else
QString systemInfoProgram()
{
    for (const char *name : kSystemInfoPrograms) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}
#endif

} // namespace

QStringList systemInfoPrograms()
{
    QStringList names;
    for (const char *name : kSystemInfoPrograms)
        names << QString::fromLatin1(name);
    return names;
}

bool StartSysInfo()
{
    const QString program = systemInfoProgram();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace vq
