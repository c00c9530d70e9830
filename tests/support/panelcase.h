#ifndef PANELCASE_H
#define PANELCASE_H

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include <memory>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "loopbackplayer.h"
#include "testsupport.h"

/// Base of the panel's test classes, whose headers it brings along: every test
/// function gets a new main window, shown, on process objects in their start
/// state, and a loopback player; with `linked`, the window is connected to the
/// player first.
class PanelCase : public QObject
{
    Q_OBJECT

public:
    explicit PanelCase(bool linked) : m_linked(linked) {}

protected slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

protected:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    /// Plays ID 5 and whether just that frame reached the player: frames keep
    /// their order, so anything sent before would arrive ahead of it.
    bool nothingSent();

    MainWindow *window = nullptr;
    std::unique_ptr<LoopbackPlayer> player;

private:
    const bool m_linked;
};

/// Adds the columns control, argument, id, decimal and frame: the frames worked
/// out by hand for each control of `model`'s command table, in both notations.
void add_Frame_Rows(int model);

/// Works the control as the operator does: `id` in the player-ID selector, then
/// `argument` in the control's selector and a click on its button, or the
/// volume slider moved to `argument`. Controls go by their widgets' names.
void perform_Control(MainWindow *window, const QString &control, const QString &argument,
                     const QString &id);

/// What the sent-bytes labels show for `frame`, written here independently.
QStringList labels_For(const QByteArray &frame, bool decimal);

/// The three sent-bytes labels' texts.
QStringList sent_Labels(MainWindow *window);

#endif // PANELCASE_H
