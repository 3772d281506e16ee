#pragma once
// Brackets by RAII: lockers that open a bracket when constructed and close it
// when the scope is left, on every path out of it.
//
//   TUpdateLock(x)           x.BeginUpdate() ... x.EndUpdate(), for any
//                            object with that pair (collections, string lists)
//   TDisabledControlsLock(d) d.DisableControls() ... d.EnableControls(), for
//                            datasets
//   TCounterLock(n)          ++n ... --n, for re-entrancy and nesting counters
//
// A value set for the scope and restored afterwards is QScopedValueRollback;
// clean-up that runs only when the scope fails is qScopeGuard with dismiss()
// on success.
//
// Closing a bracket may run code that raises (the outermost EndUpdate of a
// collection calls Update, which may re-layout a control). When the scope is
// left normally, that exception propagates as it would from the explicit
// call. When the scope is left by an exception, an exception of the closing
// call is dropped so that the first one carries on: two exceptions in flight
// would terminate the program. The update and controls lockers therefore have
// throwing destructors and are meant for local variables, not members.
//
//     void TColumns::RestoreDefaults()
//     {
//         tk::TUpdateLock lock(*this);  // one Update(nullptr) at the end
//         for (int i = 0; i < Count(); ++i)
//             Column(i)->RestoreDefaults();
//     }

#include <QtGlobal>
#include <exception>

namespace tk {

namespace detail {

// Open() on construction, Close() once when the scope ends or at Unlock,
// with the exception rule above. Open and Close are member functions of
// Target (or of a base of it).
template <typename Target, auto Open, auto Close> class TBracketLock {
public:
    explicit TBracketLock(Target& target) : target_(target) { (target_.*Open)(); }
    ~TBracketLock() noexcept(false) { Unlock(); }
    TBracketLock(const TBracketLock&) = delete;
    TBracketLock& operator=(const TBracketLock&) = delete;

    // Closes the bracket before the scope ends; later calls do nothing.
    void Unlock()
    {
        if (!open_)
            return;
        open_ = false;
        if (std::uncaught_exceptions() > exceptionsAtOpen_) {
            try {
                (target_.*Close)();
            } catch (...) {
                // The exception that is unwinding the scope is the one to report.
            }
        } else {
            (target_.*Close)();
        }
    }
    bool IsLocked() const { return open_; }

private:
    Target& target_;
    int exceptionsAtOpen_ = std::uncaught_exceptions();
    bool open_ = true;
};

}  // namespace detail

// BeginUpdate now, EndUpdate when the scope ends or at Unlock.
template <typename Target>
class TUpdateLock : public detail::TBracketLock<Target, &Target::BeginUpdate, &Target::EndUpdate> {
public:
    using detail::TBracketLock<Target, &Target::BeginUpdate, &Target::EndUpdate>::TBracketLock;
};
template <typename Target> TUpdateLock(Target&) -> TUpdateLock<Target>;

// DisableControls now, EnableControls when the scope ends or at Unlock.
template <typename DataSet>
class TDisabledControlsLock
    : public detail::TBracketLock<DataSet, &DataSet::DisableControls, &DataSet::EnableControls> {
public:
    using detail::TBracketLock<DataSet, &DataSet::DisableControls, &DataSet::EnableControls>::TBracketLock;
};
template <typename DataSet> TDisabledControlsLock(DataSet&) -> TDisabledControlsLock<DataSet>;

// Raises a counter for the scope. The counter must not be lowered by anyone
// else while the lock holds it.
template <typename Counter> class TCounterLock {
public:
    explicit TCounterLock(Counter& counter) : counter_(counter) { ++counter_; }
    ~TCounterLock()
    {
        Q_ASSERT(counter_ > 0);
        --counter_;
    }
    TCounterLock(const TCounterLock&) = delete;
    TCounterLock& operator=(const TCounterLock&) = delete;

private:
    Counter& counter_;
};

}  // namespace tk
