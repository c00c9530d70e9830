#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QtNetwork>
#include <QtSerialPort>
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "settings/config_file.h"
#include "socat_pair.h"

/// Gives the test process the panel's identity and a per-user data folder of
/// its own (a fresh temporary folder), so no test reads or writes the real
/// settings and tests running side by side never share a file. Call once,
/// before the first window is built.
void prepareTestProcess();

/// Brings the process-wide objects back to their start state (empty catalogue,
/// closed links, empty received text) and removes the settings file the last
/// window wrote, so several windows can be built one after another in one
/// process, each as on a first start.
void resetProcessObjects();

/// The configuration file every window of the test process reads and writes.
inline QString testConfigFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
}

/// Puts a copy of `qm` (by default the French translation the build makes)
/// into `folder` as the French translation; the working directory is the
/// first place a window looks for it.
inline void placeFrench(const QString &folder, const QString &qm = QStringLiteral(QUORVEX_FR_QM))
{
    const QString target = folder + QStringLiteral("/LanguageData_fr.qm");
    QFile::remove(target);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY2(QFile::copy(qm, target), qPrintable(qm));
}

/// The widget of the window with that object name; the test fails hard without it.
template <typename T> T *findWidget(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

/// The texts of the box's entries.
inline QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

/// The names of the system's serial ports, as the port box lists them.
inline QStringList systemPortNames()
{
    QStringList names;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        names << port.portName();
    return names;
}

/// Picks model `index` as the operator does with the model selector.
inline void chooseModel(MainWindow *window, int index)
{
    auto *player = findWidget<QComboBox>(window, QStringLiteral("comboBox_Player"));
    player->setCurrentIndex(index);
    emit player->activated(index);
}

/// Index of the TCP model in the catalogue.
constexpr int TcpModelIndex = 4;
/// Where the loopback player listens: octets 2 and 3 differ, so a swap shows.
const char PlayerHost[] = "127.1.2.3";

/// Clicks Connect as an operator would with the TCP model (its port set to
/// `port`, since the catalogue's is fixed) and PlayerHost in the spin boxes.
inline void startTcpConnect(MainWindow *window, quint16 port)
{
    chooseModel(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = port;
    const QStringList octets = QString(PlayerHost).split('.');
    for (int i = 0; i < 4; ++i)
        findWidget<QSpinBox>(window, QStringLiteral("spinBox_IP_%1").arg(i + 1))
            ->setValue(octets[i].toInt());
    findWidget<QPushButton>(window, QStringLiteral("pushButton_Connect"))->click();
}

/// Clicks Connect with serial model `model` on the device at `path`, typed
/// into the port box (the system's list holds no ptys), at `speed` or the
/// model's default.
inline void connectSerial(MainWindow *window, int model, const QString &path,
                          const QString &speed = QString())
{
    chooseModel(window, model);
    findWidget<QComboBox>(window, QStringLiteral("comboBox_Port"))->setEditText(path);
    if (!speed.isEmpty())
        findWidget<QComboBox>(window, QStringLiteral("comboBox_Baudrate"))->setCurrentText(speed);
    findWidget<QPushButton>(window, QStringLiteral("pushButton_Connect"))->click();
}

/// Whether every control follows the link state `open`: settings and Connect
/// for no link, Disconnect and the command area for one.
inline bool panelShowsLink(MainWindow *window, bool open)
{
    return findWidget<QWidget>(window, "frame_Settings")->isEnabled() == !open
           && findWidget<QWidget>(window, "pushButton_Connect")->isEnabled() == !open
           && findWidget<QWidget>(window, "pushButton_Disconnect")->isEnabled() == open
           && findWidget<QWidget>(window, "frame_Commands")->isEnabled() == open;
}

/// The window's status text, whole: the line may show it elided, its tooltip
/// holds it all.
inline QString statusText(MainWindow *window)
{
    return findWidget<QLabel>(window, QStringLiteral("label_Status"))->toolTip();
}

/// Shows `topLevel` and waits (bounded) until it is exposed and active; an X
/// server refuses the focus to a window that is not mapped yet.
inline bool activateWindow(QWidget *topLevel)
{
    topLevel->show();
    if (!QTest::qWaitForWindowExposed(topLevel, 5000))
        return false;
    topLevel->activateWindow();
    return QTest::qWaitForWindowActive(topLevel, 5000);
}

/// The About dialogs that exist now, shown or not.
inline QList<QDialog *> openAboutDialogs()
{
    QList<QDialog *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("aboutwindow"))
            dialogs << static_cast<QDialog *>(widget);
    }
    return dialogs;
}

/// A player on PlayerHost (a free port): accepts the panel's connection,
/// collects every byte it sends and can answer or hang up.
class LoopbackPlayer
{
public:
    LoopbackPlayer() { m_server.listen(QHostAddress(PlayerHost), 0); }

    quint16 port() const { return m_server.serverPort(); }

    /// Waits (bounded) for the panel's connection, or a new one after a hang-up.
    bool waitForPanel()
    {
        // The kernel completes the handshake on its own, so blocking here is safe.
        if (!hasPanel() && (m_server.hasPendingConnections() || m_server.waitForNewConnection(5000)))
            m_peer = m_server.nextPendingConnection();
        return hasPanel();
    }
    bool hasPanel() const { return m_peer && m_peer->state() == QAbstractSocket::ConnectedState; }

    /// Waits (bounded) until at least `count` bytes have arrived in total.
    bool waitForBytes(int count)
    {
        // The panel writes from the event loop of this same thread: keep it running.
        return QTest::qWaitFor([&] { return (m_received += takeReceived()).size() >= count; }, 5000);
    }
    /// Everything received so far, which it forgets.
    QByteArray takeReceived()
    {
        QByteArray bytes = m_received + (m_peer ? m_peer->readAll() : QByteArray());
        m_received.clear();
        return bytes;
    }

    /// Sends `bytes` to the panel and waits (bounded) until they left; with
    /// `wait` false, they leave as the event loop runs.
    bool send(const QByteArray &bytes, bool wait = true)
    {
        bool sent = m_peer && m_peer->write(bytes) == bytes.size();
        // The kernel takes loopback bytes at once; this does not need the panel's loop.
        while (sent && wait && m_peer->bytesToWrite() > 0)
            sent = m_peer->waitForBytesWritten(5000);
        return sent;
    }
    /// Bytes sent but not yet taken by the kernel.
    qint64 unsent() const { return m_peer ? m_peer->bytesToWrite() : 0; }
    /// Closes the connection from the player's side, once all was sent.
    void hangUp() { m_peer->close(); }

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_peer;
    QByteArray m_received;
};

/// Connects `window` to `player` as the operator does; true once both sides
/// are connected (bounded wait).
inline bool connectToPlayer(MainWindow *window, LoopbackPlayer &player)
{
    startTcpConnect(window, player.port());
    // The panel's side completes in the event loop.
    return player.port() && player.waitForPanel()
           && QTest::qWaitFor([] { return tcpSocket->state() == QAbstractSocket::ConnectedState; }, 5000);
}

/// Works the control as the operator does: `id` in the player-ID selector, then
/// `argument` in the control's selector and a click on its button, or the
/// volume slider moved to `argument`. Controls go by their widgets' names.
/// Picks `entry` in the selector comboBox_<selector>.
inline void selectEntry(QWidget *window, const QString &selector, const QString &entry)
{
    auto *box = findWidget<QComboBox>(window, "comboBox_" + selector);
    box->setCurrentIndex(box->findText(entry));
    QCOMPARE(box->currentText(), entry);
}

inline void performControl(MainWindow *window, const QString &control,
                           const QString &argument, const QString &id)
{
    selectEntry(window, "ID", id);
    if (control == "Volume") {
        findWidget<QSlider>(window, "horizontalSlider_Volume")->setValue(argument.toInt());
        return;
    }
    if (!argument.isEmpty())
        selectEntry(window, control, argument);
    findWidget<QPushButton>(window, "pushButton_" + control)->click();
}

/// The three sent-bytes labels' texts.
inline QStringList sentLabels(MainWindow *window)
{
    QStringList texts;
    for (int i = 1; i <= 3; ++i)
        texts << findWidget<QLabel>(window, QStringLiteral("label_Byte_%1_B").arg(i))->text();
    return texts;
}

/// Base of the window's test classes: every test function gets a new main
/// window, shown, on process objects in their start state, and a loopback player.
class PanelCase : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase() { prepareTestProcess(); }
    void init()
    {
        resetProcessObjects();
        window = new MainWindow;
        window->show();
        player = std::make_unique<LoopbackPlayer>();
    }
    void cleanup()
    {
        player.reset();
        delete window;
        resetProcessObjects();
    }

protected:
    template <typename T> T *widget(const QString &name) { return findWidget<T>(window, name); }
    /// Plays ID 5 and whether just that frame reached the player: frames keep
    /// their order, so anything sent before would arrive ahead of it.
    bool nothingSent()
    {
        performControl(window, "Play", "", "5");
        return player->waitForBytes(3) && player->takeReceived() == QByteArray::fromHex("850201");
    }

    MainWindow *window = nullptr;
    std::unique_ptr<LoopbackPlayer> player;
};

#endif // TESTSUPPORT_H
