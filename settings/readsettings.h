#pragma once

class MainFormControls;
class SettingsFile;

/**
 * The main window's settings reader, run once at start-up after its city list is filled: puts
 * the saved cities, offsets and summer-time tags on the main window.
 *
 * With no file both dials show Tokyo at the computer's own time. A damaged file stops the reader at
 * the step that fails, silently, keeping what the earlier steps did.
 */
void ReadSettings(const SettingsFile &file, MainFormControls &mainForm);
