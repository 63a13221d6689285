#pragma once

class MainFormControls;

/**
 * Puts the main window back to Tokyo on both dials: Tokyo selected in its city list (the list's
 * handler runs), "Tokyo" under both dials, no summer-time tags, both hour offsets 0.
 *
 * The main window's reader does this when there is no settings file; the clock-settings dialog's
 * Set command does it when saving fails.
 */
void ShowTokyoOnBothDials(MainFormControls &mainForm);
