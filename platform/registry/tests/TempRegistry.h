#pragma once
// Points the registry stand-in at a temporary folder for one test and
// restores the previous setting afterwards.

#include "platform/registry/Registry.h"

#include <QByteArray>
#include <QTemporaryDir>

namespace plax::test {

class TempRegistry {
public:
    TempRegistry() : previous_(qgetenv("XDG_CONFIG_HOME")), hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }
    ~TempRegistry() {
        if (hadPrevious_)
            qputenv("XDG_CONFIG_HOME", previous_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    QString file() const { return reg::registryFile(); }
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_;
};

} // namespace plax::test
