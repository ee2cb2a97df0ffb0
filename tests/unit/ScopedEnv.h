// An environment variable set (or removed) for one test and put back as it was,
// set or not, when the test's scope ends, even when an assertion ends it early.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : FName(name) {
        if (qEnvironmentVariableIsSet(name))
            FSaved = qgetenv(name);
    }
    ScopedEnv(const char* name, const QByteArray& value) : ScopedEnv(name) { Set(value); }
    ~ScopedEnv() {
        if (FSaved)
            qputenv(FName, *FSaved);
        else
            qunsetenv(FName);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const QByteArray& value) const { qputenv(FName, value); }
    void Unset() const { qunsetenv(FName); }

private:
    const char* FName;
    std::optional<QByteArray> FSaved;
};
