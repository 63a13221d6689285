#pragma once

#include <QString>

class ClockModel;
struct ClockSettings;
struct SavedSettings;

/**
 * @brief What the settings code may change on the main window: dial B's city list, the city
 * captions under both dials and the two "Summer+Time" tags.
 *
 * The main window implements the five controls; the rules for putting settings on them live here,
 * so that start-up and the clock-settings dialog's Set apply them alike without knowing the main
 * window's class.
 */
class MainFormControls
{
public:
    virtual ~MainFormControls() = default;

    /**
     * Selects the entry of the main window's city list (Combo1) whose text is @p city and runs the
     * list's handler, as a user's choice would. Returns false, changing nothing, when no entry matches.
     */
    virtual bool selectCityB(const QString &city) = 0;

    virtual void setCityCaptionA(const QString &caption) = 0; ///< Label1
    virtual void setCityCaptionB(const QString &caption) = 0; ///< Label2
    virtual void showSummerTimeA(bool shown) = 0; ///< Label13
    virtual void showSummerTimeB(bool shown) = 0; ///< Label14

    /**
     * Shows @p settings: dial B's city selected in the list, both captions and tags, and the clock
     * on the settings' offsets. False, changing nothing, when the list has no entry for dial B's city.
     */
    bool showSettings(const ClockSettings &settings, ClockModel &clock);

    /** Tokyo on both dials at the computer's own time, without summer time. */
    void showTokyo(ClockModel &clock);

    /**
     * Start-up: shows what the settings file holds; Tokyo when there is no file. A damaged file changes
     * nothing: too few fields, an offset that is no number, or dial B's city missing from the list.
     */
    void showSavedSettings(const SavedSettings &saved, ClockModel &clock);
};
