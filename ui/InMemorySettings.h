#pragma once

// Qt's own settings (the file dialog's history and last folder, kept under the organisation
// "QtProject") are held in memory for the run and never written to a file: the program keeps no
// settings, in the application folder or anywhere else. Call once, after the application object
// exists and before any window is made.
void keepQtSettingsInMemory();
