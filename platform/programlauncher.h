#pragma once

#include <QString>

/**
 * @brief Starting another program by its path, and the file test that comes before it.
 *
 * system() starts programs for real; tests put a fake in its place to see what would have been started.
 */
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;

    /** Whether @p path names an existing file (not a folder). Backslashes separate folders on every system. */
    virtual bool fileExists(const QString &path) const = 0;

    /** Starts the program at @p path, on its own, in a normal window; false when it could not be started. */
    virtual bool start(const QString &path) = 0;

    static ProgramLauncher &system();
};
