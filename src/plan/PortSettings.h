#pragma once

#include "plan/AirRules.h"

#include <QSettings>
#include <QString>

#include <array>
#include <memory>

namespace vq {

// The program's names for QSettings and the per-user folders; set once, by
// every program of the project, before anything reads a setting.
void nameApplication();

// The program's own folder under the user's data and configuration
// folders: one name for the window and the command-line tool, whatever
// each calls itself.
QString userFolderName();

// The devices behind port 1 and port 2, and the port to try first.
struct PortChoice {
    std::array<QString, 2> devices{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
    int port = 1;

    QString device(int p) const
    {
        return (p == 1 || p == 2) ? devices[static_cast<std::size_t>(p - 1)] : QString();
    }
};

// What the user chose for the ports, kept between runs in the user's
// configuration folder. A file that cannot be read or written, or holds
// values that make no sense, never stops the program: it is said once on
// stderr and the program goes on with what it has.
class PortSettings {
public:
    // Without a file name: the user's configuration folder
    // (~/.config/vq4471r/vq4471r.conf), the same for every program.
    explicit PortSettings(const QString &fileName = {});
    ~PortSettings();
    // A value in the file was not one this program writes (said on stderr
    // once per run).
    bool complained() const { return complained_; }

    QString fileName() const;
    // Every setting as "key = value", a binary value by its size only.
    QStringList entries() const;
    // The remembered choice over `defaults`; nonsense is left out.
    PortChoice load(const PortChoice &defaults = {});
    void saveDevice(int port, const QString &device);
    void savePort(int port);
    // Whether each write is read back and checked; off unless chosen.
    bool loadVerifyAfterWrite();
    void saveVerifyAfterWrite(bool on);
    // The interface language chosen in the menu, "zh" or "en"; empty when
    // none was chosen (or the value is not one of those).
    QString loadLanguage();
    void saveLanguage(const QString &code);
    // The main window's size, place and state, as the window saved them;
    // empty when none was kept.
    QByteArray loadWindowPlace();
    // Where the user may transmit, for the rules of the air; not chosen
    // when none was kept (or the value is not one the program writes).
    AirChoice loadAirChoice();
    void saveAirChoice(const AirChoice &choice);
    void saveWindowPlace(const QByteArray &place);

private:
    void save(const QString &key, const QVariant &value);
    void complain(const QString &why);

    std::unique_ptr<QSettings> settings_;
    bool complained_ = false;
};

// The choice for this run: a device named on the command line wins for this
// run only (nothing is saved), else the remembered one, else the default.
PortChoice resolvePorts(const QString &com1, const QString &com2, PortSettings &settings);

} // namespace vq
