#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QString>

/// Gives the test process the panel's identity and a per-user data folder of
/// its own (a fresh temporary folder), so no test reads or writes the real
/// settings and tests running side by side never share a file. Call once,
/// before the first window is built.
void prepare_Test_Process();

/// The folder prepare_Test_Process() set up as the per-user data folder.
QString test_Data_Home();

/// Brings the process-wide objects back to their start state (empty catalogue,
/// closed links, empty received text) and removes the settings file the last
/// window wrote, so several windows can be built one after another in one
/// process, each as on a first start.
void reset_Process_Objects();

/// The configuration file every window of the test process reads and writes.
QString test_Config_File_Path();

#endif // TESTSUPPORT_H
