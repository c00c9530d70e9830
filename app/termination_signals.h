#ifndef TERMINATION_SIGNALS_H
#define TERMINATION_SIGNALS_H

/// Makes SIGTERM, SIGINT and SIGHUP end the event loop as closing the window
/// does, so the settings are saved and the process exits 0. Call once, after
/// the application object exists; elsewhere than on Unix it does nothing.
void quitOnTerminationSignals();

#endif // TERMINATION_SIGNALS_H
