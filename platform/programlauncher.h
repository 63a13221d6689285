#pragma once

#include <QString>

/**
 * @brief Starting another program by its path, on its own, in a normal window.
 *
 * system() starts programs for real; tests put a fake in its place to see what would have been started.
 */
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;

    /** Starts the program at @p path; false when it could not be started. */
    virtual bool start(const QString &path) = 0;

    static ProgramLauncher &system();
};
