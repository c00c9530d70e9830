#ifndef OPENGL_SETTING_H
#define OPENGL_SETTING_H

// The panel's widgets never draw with OpenGL, and loading Qt's XCB OpenGL
// integration costs start-up time and memory; the programs the Help menu
// starts (a browser, a mail client) must not inherit the panel's choice.

/// Before the application object: turns the integration off unless the user
/// chose a setting. True when it set the variable.
bool turnOpenGlOff();

/// Once the application object exists (Qt has read the variable): takes out
/// of the environment what turnOpenGlOff() put there.
void forgetOpenGlSetting(bool turnedOff);

#endif // OPENGL_SETTING_H
