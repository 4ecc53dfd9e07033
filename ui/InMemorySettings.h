#pragma once

// Qt's own settings (the file dialog's history and last folder) are held in memory for the run and
// never written, nor is Qt's shader cache: the program keeps no files but the user's data in the
// data folder. Call once, after the application object exists and before any window is made.
void keepQtSettingsInMemory();
