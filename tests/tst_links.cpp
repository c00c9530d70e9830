// The panel on its links: a QTcpServer on loopback and a socat pty pair play
// the player. The frames every control sends, what the link state enables,
// the received-data pane, and the keyboard shortcuts.

#include <list>

#include <termios.h>

#include "link/link.h"
#include "link/session_log.h"
#include "testsupport.h"

namespace {

// Delivered where the keyboard focus is, through the application's shortcut
// map. With the text given, QtTest needs no character for the key: it has
// none for Key_MediaPause and stops on an assertion.
void press(int keys)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
    QVERIFY(target);
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(keys & ~Qt::KeyboardModifierMask), QString(),
                        Qt::KeyboardModifiers(keys & Qt::KeyboardModifierMask));
}

// The frames worked out by hand for each control; the first three models lack
// the long table's controls.
const struct { const char *control, *argument, *id, *frame; bool longTableOnly; } FrameCases[] = {
    {"Play", "", "5", "850201", false},          {"Play", "", "0", "800201", false},
    {"Stop", "", "5", "850202", false},          {"Next_File", "", "5", "850203", false},
    {"Previous_File", "", "5", "850204", false}, {"Pause", "", "5", "850205", true},
    {"Next_Folder", "", "5", "850206", true},    {"Previous_Folder", "", "5", "850207", true},
    {"Volume", "20", "5", "850314", false},      {"Folder", "007", "5", "850107", false},
    {"Folder", "080", "5", "850150", false}, // decimal, not octal
    {"Folder", "200", "5", "851148", false},     {"Folder", "300", "5", "85212C", false},
    {"Folder", "999", "5", "857167", false},     {"Change_ID", "9", "5", "857F09", true},
    {"Request", "Remaining time", "5", "850409", true},
    {"Request", "Volume", "5", "85040B", true}, // also the Volume command's label
};

// What the sent-bytes labels show for `frame`, written here independently.
QStringList labelsFor(const QByteArray &frame, bool decimal)
{
    QStringList texts;
    for (const char c : frame)
        texts << (decimal ? QString::number(quint8(c)) : QByteArray(1, c).toHex().toUpper());
    return texts;
}

} // namespace

class LinksTest : public PanelCase
{
    Q_OBJECT

private slots:
    void initTestCase();

    void tcpLink();
    void serialLink();
    void operatorFrames_data();
    void operatorFrames();

    void sessionLogBoundsAndSave();

private:
    QTextEdit *pane() { return widget<QTextEdit>("textEdit_Data"); }
    QString target() const { return QStringLiteral("%1:%2").arg(PlayerHost).arg(player->port()); }
    void useFormat(int format)
    {
        widget<QRadioButton>("radioButton_Data_" + QString("ASCII Hex Dec").split(' ')[format])->click();
    }

    // The saved log's entries after its header, each without its time: local
    // time to the millisecond, which starts every entry's line.
    QStringList savedLog()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("session.log"));
        if (!window->saveSessionLog(file.fileName()) || !file.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(file.readAll());
        const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\t",
                                      QRegularExpression::MultilineOption);
        const int entries = text.count('\n') - 1;
        if (!text.startsWith("time\tkind\tlink\tbytes\ttext\n") || text.count(time) != entries)
            return {"header or times amiss"};
        return text.remove(time).split('\n').mid(1, entries);
    }

    SocatPair cable;
    QSerialPort serialPlayer{cable.playerEnd}; // the far end of `cable`
};

void LinksTest::initTestCase()
{
    PanelCase::initTestCase();
    QVERIFY2(cable.isReady(), cable.log.constData());
    QVERIFY(serialPlayer.open(QIODevice::ReadWrite));
}

void LinksTest::tcpLink()
{
    const quint16 closed = LoopbackPlayer().port(); // closed again at once
    for (int attempt = 0; attempt < 2; ++attempt) {
        // A second Connect starts afresh from the closed socket.
        startTcpConnect(window, closed);
        QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);
        QCOMPARE(statusText(window), QStringLiteral("Connection to %1:%2 failed: Connection refused")
                                         .arg(PlayerHost).arg(closed));
    }

    QVERIFY(connectToPlayer(window, *player));
    // The last words before the hang-up still reach the pane.
    QVERIFY(player->send("bye"));
    player->hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);
    QCOMPARE(statusText(window),
             "Connection to " + target() + " lost: The remote host closed the connection");
    QCOMPARE(pane()->toPlainText(), QStringLiteral("bye"));

    startTcpConnect(window, player->port());
    // The attempt under way counts as a link, but a frame now is neither
    // buffered for later nor shown as sent.
    QCOMPARE(tcpSocket->state(), QAbstractSocket::ConnectingState);
    QCOMPARE(statusText(window), "Connecting to " + target() + "...");
    QVERIFY(panelShowsLink(window, true));
    // Nor is a volume or a new ID shown that the player never got.
    const auto labels = [this] {
        return sentLabels(window) << widget<QLabel>("label_Volume_2")->text()
                                  << widget<QLabel>("label_Player")->text();
    };
    const QStringList before = labels();
    performControl(window, "Play", "", "0");
    performControl(window, "Volume", "7", "0");
    performControl(window, "Change_ID", "9", "0");
    QCOMPARE(labels(), before);
    QCOMPARE(statusText(window), "Not sent: still connecting to " + target());

    QVERIFY(player->waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(statusText(window), "Connected to " + target(), 5000);
    QVERIFY(nothingSent());

    // A frame clicked just before Disconnect still leaves.
    performControl(window, "Stop", "", "5");
    widget<QComboBox>("comboBox_Port")->addItem("ttyQ9"); // the TCP model has no speed to pick
    widget<QPushButton>("pushButton_Disconnect")->click();
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), QByteArray::fromHex("850202"));
    QTRY_VERIFY_WITH_TIMEOUT(!player->hasPanel(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);
    QCOMPARE(statusText(window), "Disconnected from " + target());
    QVERIFY(!widget<QWidget>("frame_Baudrate")->isEnabled());

    // Disconnect gives an attempt up at once, not once it has succeeded. With
    // no port listed, one can still be typed.
    widget<QComboBox>("comboBox_Port")->clear();
    startTcpConnect(window, player->port());
    widget<QPushButton>("pushButton_Disconnect")->click();
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(panelShowsLink(window, false));
    QVERIFY(widget<QWidget>("frame_Port")->isEnabled());
    QCOMPARE(statusText(window), "Connection attempt to " + target() + " cancelled");

    // A listener that never accepts, its backlog full: further handshakes get no answer.
    QTcpServer deaf;
    QVERIFY(deaf.listen(QHostAddress(PlayerHost)));
    deaf.pauseAccepting();
    const quint16 port = deaf.serverPort();
    std::list<QTcpSocket> fillers;
    do {
        fillers.emplace_back();
        fillers.back().connectToHost(QHostAddress(PlayerHost), port);
    } while (fillers.size() < 100 && fillers.back().waitForConnected(300));

    window->setConnectTimeout(300);
    startTcpConnect(window, port);
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);
    QCOMPARE(statusText(window),
             QStringLiteral("Connection to %1:%2 failed: timed out").arg(PlayerHost).arg(port));
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);

    // The session as the saved log tells it, in order.
    const auto event = [](const QString &to, const QString &text) {
        return "link\tTCP " + to + "\t\t" + text;
    };
    const QString at = target(), refused = QStringLiteral("%1:%2").arg(PlayerHost).arg(closed),
                  unanswered = QStringLiteral("%1:%2").arg(PlayerHost).arg(port);
    QStringList expected;
    for (int attempt = 0; attempt < 2; ++attempt)
        expected << event(refused, "Connecting to " + refused + "...")
                 << event(refused, "Connection to " + refused + " failed: Connection refused");
    const QString notSent = event(at, "Not sent: still connecting to " + at);
    expected << event(at, "Connecting to " + at + "...") << event(at, "Connected to " + at)
             << "received\tTCP " + at + "\t62 79 65\tbye"
             << event(at, "Connection to " + at + " lost: The remote host closed the connection")
             << event(at, "Connecting to " + at + "...") << notSent << notSent << notSent
             << event(at, "Connected to " + at) << "sent\tTCP " + at + "\t85 02 01\tplay"
             << "sent\tTCP " + at + "\t85 02 02\tstop" << event(at, "Disconnected from " + at)
             << event(at, "Connecting to " + at + "...")
             << event(at, "Connection attempt to " + at + " cancelled")
             << event(unanswered, "Connecting to " + unanswered + "...")
             << event(unanswered, "Connection to " + unanswered + " failed: timed out");
    QCOMPARE(savedLog(), expected);
}

void LinksTest::serialLink()
{
    auto *ports = widget<QComboBox>("comboBox_Port");
    const QStringList listed = systemPortNames();
    // Read once the window has shown, not before (thousands of files), and
    // again when the list opens: what was typed or picked stays.
    QCOMPARE(ports->count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(items(ports), listed, 5000);
    for (const QString &choice : QStringList{cable.panelEnd} + listed.mid(0, 1)) {
        ports->clear();
        ports->setEditText(choice);
        ports->showPopup();
        ports->hidePopup();
        QCOMPARE(items(ports), listed);
        QCOMPARE(ports->currentText(), choice);
    }

    // The speed chosen, else the model's default; always 8N1 without flow control.
    const struct { int model; const char *speed; int baud; speed_t termiosSpeed; } cases[] = {
        {0, "", 19200, B19200}, {0, "38400", 38400, B38400}, {2, "", 9600, B9600}};
    for (const auto &c : cases) {
        connectSerial(window, c.model, cable.panelEnd, c.speed);
        QVERIFY(panelShowsLink(window, true));
        QCOMPARE(statusText(window),
                 QStringLiteral("Connected to %1 at %2 baud").arg(cable.panelEnd).arg(c.baud));
        // What the device really holds, not what the port object was told.
        termios line{};
        QCOMPARE(tcgetattr(int(serialPort->handle()), &line), 0);
        QCOMPARE(cfgetospeed(&line), c.termiosSpeed);
        QCOMPARE(cfgetispeed(&line), c.termiosSpeed);
        QCOMPARE(line.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        // A pty forces 8 bits without parity whatever it is told, so these two
        // are read back from the port.
        QCOMPARE(serialPort->dataBits(), QSerialPort::Data8);
        QCOMPARE(serialPort->parity(), QSerialPort::NoParity);
        widget<QPushButton>("pushButton_Disconnect")->click();
    }

    // A long path is elided at the end of the status line, to its width again
    // after the window is widened; never cut at the window's edge.
    const auto *line = widget<QLabel>("label_Status");
    for (const QString &path : {cable.panelEnd + "-missing", "/dev/serial/by-id/" + QString(120, 'x')}) {
        connectSerial(window, 0, path);
        QVERIFY(panelShowsLink(window, false));
        const QString message = "Cannot open serial port " + path + ": No such file or directory";
        QCOMPARE(statusText(window), message);
        QStringList shown;
        for (const int width : {window->width(), window->width() + 300}) {
            window->resize(width, window->height());
            QTRY_COMPARE_WITH_TIMEOUT(window->width(), width, 5000);
            shown << line->text();
            QVERIFY(line->fontMetrics().horizontalAdvance(shown.last()) <= line->contentsRect().width());
            QVERIFY(shown.last().startsWith("Cannot open serial port /"));
            QVERIFY(shown.last() == message || message.startsWith(shown.last().chopped(1)));
        }
        QVERIFY(shown[0].size() < shown[1].size() || shown[0] == message);
    }

    // A port that another panel holds says so, not "permission denied".
    QSerialPort holder(cable.panelEnd);
    QVERIFY(holder.open(QIODevice::ReadWrite));
    connectSerial(window, 0, cable.panelEnd);
    QVERIFY(panelShowsLink(window, false));
    QCOMPARE(statusText(window),
             "Cannot open serial port " + cable.panelEnd + ": it is in use by another program");
    holder.close();

    SocatPair ownCable;
    QVERIFY2(ownCable.isReady(), ownCable.log.constData());
    connectSerial(window, 0, ownCable.panelEnd);
    ownCable.kill();
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);
    QVERIFY(!serialPort->isOpen());
    QCOMPARE(statusText(window), "Serial port " + ownCable.panelEnd + " was removed or unplugged");

    // Both links open, serial first: the panel opens one per Connect, the test
    // the second one.
    connectSerial(window, 0, cable.panelEnd);
    tcpSocket->connectToHost(QHostAddress(PlayerHost), player->port());
    QVERIFY(player->waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, 5000);

    QCOMPARE(frameLinks(), (QList<QIODevice *>{serialPort, tcpSocket}));
    widget<QPushButton>("pushButton_Play")->click();
    QTRY_VERIFY_WITH_TIMEOUT(serialPlayer.bytesAvailable() >= 3, 5000);
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(serialPlayer.readAll(), QByteArray::fromHex("800201"));
    QCOMPARE(player->takeReceived(), QByteArray::fromHex("800201"));

    // A reply on the serial line reaches the pane, as text, never as markup.
    serialPlayer.write("OK <b>\xC3");
    QTRY_COMPARE_WITH_TIMEOUT(pane()->toPlainText(), QStringLiteral("OK <b>"), 5000);
    // A character cut by the end of one link is not completed by the next.
    widget<QPushButton>("pushButton_Disconnect")->click();
    widget<QPushButton>("pushButton_Connect")->click();
    serialPlayer.write("\xA9");
    QTRY_COMPARE_WITH_TIMEOUT(readDataText, QStringLiteral("OK <b>\uFFFD"), 5000);

    // The log names each link and keeps every byte, whatever the pane made of them.
    const QString serial = "serial " + cable.panelEnd + "\t";
    const QString connected = "link\t" + serial + "\tConnected to " + cable.panelEnd + " at 19200 baud";
    const QStringList log = savedLog();
    QCOMPARE(log.mid(log.size() - 8),
             QStringList({connected, "link\tTCP \t\tConnected to ", "sent\t" + serial + "80 02 01\tplay",
                          "sent\tTCP \t80 02 01\tplay",
                          "received\t" + serial + "4F 4B 20 3C 62 3E C3\tOK <b>\uFFFD",
                          "link\t" + serial + "\tDisconnected from " + cable.panelEnd, connected,
                          "received\t" + serial + "A9\t\uFFFD"}));
    QCOMPARE(log.filter("in use by another program").size(), 1);
    // Each chunk in the format checked when it came; Clear empties the pane.
    for (const auto &format : {std::make_pair(1, " FF"), std::make_pair(2, " FF 255")}) {
        useFormat(format.first);
        serialPlayer.write("\xFF");
        QTRY_COMPARE_WITH_TIMEOUT(pane()->toPlainText(), "OK <b>\uFFFD" + QString(format.second), 5000);
    }
    widget<QPushButton>("pushButton_Clear")->click();
    QVERIFY(readDataText.isEmpty() && pane()->toPlainText().isEmpty());
}

void LinksTest::sessionLogBoundsAndSave()
{
    // The latest entries up to either bound; what went is said once, on top.
    SessionLog byCount(3, 1 << 20);
    for (int i = 0; i < 5; ++i)
        byCount.addEvent("TCP h:1", QString::number(i));
    QVERIFY(byCount.text().startsWith("# 2 earlier entries dropped\ntime\tkind\t"));
    QCOMPARE(byCount.text().count("dropped"), 1);
    QCOMPARE(byCount.text().count("\tlink\tTCP h:1\t\t"), 3);
    QVERIFY(byCount.text().endsWith("\t4\n"));
    SessionLog byBytes(100, 1000); // two lines of 100 bytes in hex and text fit
    for (const char c : {'a', 'b', 'c'})
        byBytes.addChunk("serial a", QByteArray(100, c));
    QCOMPARE(QPair(byBytes.size(), byBytes.dropped()), QPair(2, 1LL));
    // A chunk alone over the bound keeps its end, its head counted as dropped.
    byBytes.addChunk("serial a", QByteArray(2000, 'd') + "end");
    QCOMPARE(QPair(byBytes.size(), byBytes.dropped()), QPair(1, 4LL));
    const QByteArray kept = QByteArray(223, 'd') + "end";
    QVERIFY(byBytes.text().endsWith('\t' + kept.toHex(' ').toUpper() + '\t' + kept + '\n'));

    // Control characters escaped: one entry, one line, five columns.
    SessionLog log;
    log.addChunk("TCP h:1", QByteArray("a\tb\r\n\\\x01\x7F\xC2\x85\xE2\x80\xA8\xC3\x00z", 16));
    log.addFrame("serial \\\\.\\COM1", QByteArray::fromHex("857F09"), "change ID to 9");
    const QList<QByteArray> lines = log.text().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[1].mid(24), "received\tTCP h:1\t61 09 62 0D 0A 5C 01 7F C2 85 E2 80 A8 C3 00 7A\t"
                               "a\\tb\\r\\n\\\\\\x01\\x7F\\x85\\u2028\xEF\xBF\xBD\\x00z");
    QCOMPARE(lines[2].mid(24), "sent\tserial \\\\\\\\.\\\\COM1\t85 7F 09\tchange ID to 9");

    // A folder that refuses the file (a file stands where it should be, which
    // refuses root too) gets a message.
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = blocker.fileName() + "/session.log";
    QVERIFY(!window->saveSessionLog(path));
    QVERIFY(statusText(window).startsWith("Cannot save the session log to " + path + ": "));
    QVERIFY(window->saveSessionLog(dir.filePath("saved.log")));
    QCOMPARE(statusText(window), "Session log saved to " + dir.filePath("saved.log"));
}

void LinksTest::operatorFrames_data()
{
    QTest::addColumn<QString>("trigger");  // a control by its button's name, or a key sequence
    QTest::addColumn<QString>("argument"); // the entry the control's selector shows
    QTest::addColumn<QString>("id");       // the player ID selected
    QTest::addColumn<int>("volume");       // before, if not -1; the TCP model's runs from 0 to 31
    QTest::addColumn<QString>("focus");    // empty: another window is active
    QTest::addColumn<bool>("serial");      // the short command table's model on the serial line
    QTest::addColumn<bool>("decimal");     // the notation it starts in; it switches to the other
    QTest::addColumn<QByteArray>("frame"); // empty: nothing goes out
    // Focus in turn where typing could claim the keys (text, list, slider) and
    // on a button outside the command area.
    const char *const focus[] = {"textEdit_Data", "comboBox_Folder", "horizontalSlider_Volume",
                                 "pushButton_Disconnect"};
    int row = 0;
    const auto add = [&](const QString &trigger, const QString &argument, const char *id,
                         int volume, const QByteArray &frame, bool serial = false,
                         const char *on = nullptr) {
        const bool decimal = row++ % 2;
        on = on ? on : focus[row / 2 % 4];
        QTest::addRow("%s %s, ID %s, volume %d, %s, %s, focus on %s", qPrintable(trigger),
                      qPrintable(argument), id, volume, decimal ? "dec" : "hex",
                      serial ? "serial" : "TCP", *on ? on : "another window")
            << trigger << argument << QString(id) << volume << QString(on) << serial << decimal
            << QByteArray::fromHex(frame);
    };
    for (bool serial : {false, true}) {
        for (const auto &c : FrameCases) {
            if (!c.longTableOnly || !serial)
                add(c.control, c.argument, c.id, -1, c.frame, serial);
        }
    }
    // Shortcuts: folders 0 to 9 whatever the folder selector shows, volume up
    // to the highest and down to the lowest, transport. At the ends the volume
    // does not change, so nothing goes out.
    for (int n = 0; n <= 9; ++n)
        add(QStringLiteral("Ctrl+%1").arg(n), "", "0", 10, "80010" + QByteArray::number(n));
    const struct { const char *trigger; int volume; const char *frame; } keys[] = {
        {"Ctrl++", 30, "80031F"},         {"Ctrl+-", 1, "800300"},
        {"Media Play", 10, "800201"},     {"Media Stop", 10, "800202"},
        {"Media Next", 10, "800203"},     {"Media Previous", 10, "800204"},
        {"Media Pause", 10, "800205"},    {"Ctrl+Media Next", 10, "800206"},
        {"Ctrl+Media Previous", 10, "800207"},
        {"Ctrl++", 31, ""},               {"Ctrl+-", 0, ""},
        {"Volume_More", 12, "80031F"},    {"Volume_Less", 12, "800300"},
        {"Volume_More", 31, ""},          {"Volume_Less", 0, ""},
    };
    for (const auto &k : keys)
        add(k.trigger, "", "0", k.volume, k.frame);
    add("Ctrl+5", "", "0", 10, "", false, "");
    add("Media Stop", "", "0", 10, "", false, "");
}

void LinksTest::operatorFrames()
{
    QFETCH(QString, trigger);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(int, volume);
    QFETCH(QString, focus);
    QFETCH(bool, serial);
    QFETCH(bool, decimal);
    QFETCH(QByteArray, frame);
    if (serial)
        connectSerial(window, 0, cable.panelEnd);
    else
        QVERIFY(connectToPlayer(window, *player));
    QVERIFY(activateWindow(window));
    widget<QRadioButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    if (volume >= 0 && slider->value() != volume) {
        slider->setValue(volume);
        QVERIFY(player->waitForBytes(3));
        player->takeReceived();
    }
    const bool key = trigger != "Volume" && !window->findChild<QWidget *>("pushButton_" + trigger);
    if (key) {
        // Folder shortcuts ignore the selector and the Folder button's state.
        widget<QComboBox>("comboBox_Folder")->setCurrentIndex(300);
        widget<QWidget>("pushButton_Folder")->setEnabled(false);
    }
    QWidget otherWindow;
    otherWindow.resize(200, 100);
    if (focus.isEmpty()) {
        QVERIFY(activateWindow(&otherWindow));
    } else {
        widget<QWidget>(focus)->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::focusWidget() == widget<QWidget>(focus); }, 5000));
    }
    const QStringList labels = sentLabels(window);

    if (key)
        press(QKeySequence(trigger)[0]);
    else
        performControl(window, trigger, argument, id);
    // On the line already, not on the event loop's next pass.
    QCOMPARE(serial ? serialPort->bytesToWrite() : tcpSocket->bytesToWrite(), 0);
    if (frame.isEmpty()) {
        QCOMPARE(sentLabels(window), labels);
        QCOMPARE(slider->value(), volume);
        QVERIFY(nothingSent());
        return;
    }
    if (serial) {
        QVERIFY(QTest::qWaitFor([&] { return serialPlayer.bytesAvailable() >= 3; }, 5000));
        QCOMPARE(serialPlayer.readAll(), frame);
    } else {
        QVERIFY(player->waitForBytes(3));
        QCOMPARE(player->takeReceived(), frame);
    }
    QCOMPARE(sentLabels(window), labelsFor(frame, decimal));
    // Switching converts the labels; a click on the notation already shown
    // must not convert them again.
    auto *switchTo = widget<QRadioButton>(decimal ? "radioButton_Sent_Hex" : "radioButton_Sent_Dec");
    for (int click = 0; click < 2; ++click) {
        switchTo->click();
        QCOMPARE(sentLabels(window), labelsFor(frame, !decimal));
    }
    if (frame.at(1) == 3)
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QString::number(int(frame.at(2))));
    if (trigger == "Change_ID")
        QCOMPARE(widget<QLabel>("label_Player")->text(), "Change ID: 127 " + argument);
}

QTEST_MAIN(LinksTest)
#include "tst_links.moc"
