#pragma once

#include <QString>

namespace kovrant {

// How jobs speak to the user. The window shows modal message boxes titled "Kovrant"; the
// command line writes to its terminal; tests record the texts and answer from a script.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void showInfo(const QString& text) = 0;    // OK button, information icon
    virtual void showWarning(const QString& text) = 0; // OK button, exclamation icon
    virtual bool askYesNo(const QString& text) = 0;    // Yes and No, question icon; true for Yes
};

// What the window does around a running job. Each call sets a state, so repeating one is
// harmless.
class WindowHooks {
public:
    virtual ~WindowHooks() = default;
    virtual void setHourglass(bool on) = 0;
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual void setTopmost(bool on) = 0;
};

class NoWindowHooks final : public WindowHooks {
public:
    void setHourglass(bool) override {}
    void setWindowEnabled(bool) override {}
    void setTopmost(bool) override {}
};

// Told of every file a job has written or renamed; the command line lists them on request.
class JobLog {
public:
    virtual ~JobLog() = default;
    virtual void written(const QString& path) { Q_UNUSED(path); }
    virtual void renamed(const QString& from, const QString& to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
    }
};

} // namespace kovrant
