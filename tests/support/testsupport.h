#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QList>
#include <QString>
#include <QWidget>

class aboutwindow;
class LoopbackPlayer;
class MainWindow;

/// Gives the test process the panel's identity and a per-user data folder of
/// its own (a fresh temporary folder), so no test reads or writes the real
/// settings and tests running side by side never share a file. Call once,
/// before the first window is built.
void prepare_Test_Process();

/// Brings the process-wide objects back to their start state (empty catalogue,
/// closed links, empty received text) and removes the settings file the last
/// window wrote, so several windows can be built one after another in one
/// process, each as on a first start.
void reset_Process_Objects();

/// The configuration file every window of the test process reads and writes.
QString test_Config_File_Path();
/// The widget of the window with that object name; the test fails hard without it.
template <typename T> T *find_Widget(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

/// Picks model `index` as the operator does with the model selector.
void choose_Model(MainWindow *window, int index);

/// Index of the TCP model in the catalogue.
constexpr int TcpModelIndex = 4;

/// Clicks Connect as an operator would with the TCP model (its port set to
/// `port`, since the catalogue's is fixed) and 127.0.0.1 in the spin boxes.
void start_TCP_Connect(MainWindow *window, quint16 port);

/// start_TCP_Connect to `player`; true once both sides are connected (bounded wait).
bool connect_To_Player(MainWindow *window, LoopbackPlayer &player);

/// Whether every control follows the link state `open`: settings and Connect
/// for no link, Disconnect and the command area for one.
bool panel_Shows_Link(MainWindow *window, bool open);

/// The window's status-bar text, whole (the bar shows it elided if it is long).
QString status_Text(MainWindow *window);

/// Shows `topLevel` and waits (bounded) until it is exposed and active; an X
/// server refuses the focus to a window that is not mapped yet.
bool activate_Window(QWidget *topLevel);

/// The About dialogs that exist now, shown or not.
QList<aboutwindow *> open_About_Dialogs();

#endif // TESTSUPPORT_H
