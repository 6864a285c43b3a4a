#pragma once
// The settings file lives below a scratch HOME while a test runs, so the
// test neither reads nor changes another run's file.

#include "support/TestData.h"

#include <QByteArray>
#include <QtGlobal>

namespace kestrel::test {

class SettingsHome {
public:
    SettingsHome() : saved_(qgetenv("HOME")) { qputenv("HOME", QByteArray::fromStdString(dir_.path())); }
    ~SettingsHome() { qputenv("HOME", saved_); }
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;

private:
    TempDir dir_;
    QByteArray saved_;
};

} // namespace kestrel::test
