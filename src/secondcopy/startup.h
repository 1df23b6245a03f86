#pragma once

#include <QString>
#include <media/links.h>
#include <memory>
#include <optional>
#include <platform/folders.h>
#include <platform/instancelock.h>

namespace torvane::base {
class MessageBoxes;
}

namespace torvane::secondcopy {

// What the start-up steps take from their surroundings. The defaults are the real system.
struct StartServices final {
    base::MessageBoxes* messageBoxes = nullptr; // required
    platform::Environment environment;          // empty: the process environment
    std::optional<QString> commandLine;         // what follows the program's name; none: the real one
};

// What a process is, once the start-up steps have run.
enum class Role {
    FirstCopy,  // this copy is the course viewer
    SecondCopy, // another copy runs; this one carries out its command line and ends
    Stopped,    // start-up cannot go on (the learner has been told why)
};

// The steps every copy takes before it has a window or a browser, in their fixed order: the course
// location, the program and data folders, the learner's data folder, the shared blocks with the end
// flag lowered, and the lock that tells the course viewer from a second copy. What they find is kept
// here for the viewer window or the second copy's job to take over.
class StartUp final {
public:
    explicit StartUp(StartServices services);

    Role run();
    Role role() const { return role_; }
    // The command line: what follows the program's name, the arguments joined by single spaces.
    QString commandLine() const;

    QString FileLocn;
    bool bundledCourse = false; // the course is the one beside the program, read through its scheme
    QString ProgramFilesFolder;
    QString AppDataFolder;
    QString BillDir;
    QString runtimeFolder;
    media::Links links;
    std::unique_ptr<platform::InstanceLock> instanceLock;

private:
    bool SetFileLocn();
    void makeBillDir();
    void OpenLinks();
    platform::LockOutcome previousInstance();
    Role decide(platform::LockOutcome lock);
    void clearStaleLinks();
    int message(const QString& text, int style);

    StartServices services_;
    QString billDirWarning_; // told to the learner by the first copy only
    Role role_ = Role::Stopped;
};

} // namespace torvane::secondcopy
