// Where the program gets the time from: the wall clock, or a settable fake in tests.
#pragma once

#include <QDateTime>

namespace velmora {

class IClock {
public:
    virtual ~IClock() = default;
    // Local date and time, milliseconds included (the system clock gives it at
    // the fixed offset from UTC that holds at that moment).
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public IClock {
public:
    QDateTime Now() const override;
};

class FakeClock final : public IClock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 1, 1), QTime(12, 0)))
        : FNow(std::move(now)) {}
    QDateTime Now() const override { return FNow; }
    void Set(const QDateTime& now) { FNow = now; }
    void AddSecs(qint64 s) { FNow = FNow.addSecs(s); }

private:
    QDateTime FNow;
};

} // namespace velmora
