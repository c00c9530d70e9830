// The window as each player model configures it, what the link state
// enables, and what the form must keep for the code that drives it.

#include "app/opengl_setting.h"
#include "testsupport.h"

namespace {

// The widgets whose visibility follows the model, by the models showing them.
const QStringList Everyone = {
    "frame_Folder", "frame_Playback_Command", "pushButton_Previous_File", "pushButton_Play",
    "pushButton_Stop", "pushButton_Next_File", "line_Playback_Command", "frame_Volume",
    "pushButton_Volume_Less", "pushButton_Volume_More", "line_Volume"};
const QStringList Serial = {"frame_Port", "frame_Baudrate", "frame_ID", "line_after_ID",
                            "line_ID_and_Folder"};
const QStringList TableB = {"pushButton_Previous_Folder", "pushButton_Pause",
                            "pushButton_Next_Folder", "frame_Request", "line_Request"};
const QStringList SerialB = {"frame_Change_ID", "line_after_Change_ID"};
const QStringList ModelDependent = Everyone + Serial + TableB + SerialB + QStringList{"frame_IP"};

} // namespace

class WindowTest : public PanelCase
{
    Q_OBJECT

private slots:
    void modelConfiguresPanel_data();
    void modelConfiguresPanel();
    void ipBoxesTakeAnAddress_data();
    void ipBoxesTakeAnAddress();
    void formKeepsWhatTheCodeNeeds();
    void openGlSettingStaysThePanels();
    void noDisplaySaysOneLine();

private:
    QComboBox *box(const char *name) { return widget<QComboBox>(name); }
};

void WindowTest::modelConfiguresPanel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QStringList>("speeds");
    QTest::addColumn<QString>("currentSpeed");
    QTest::addColumn<int>("folders");
    QTest::addColumn<int>("volumeMax");
    QTest::addColumn<QStringList>("requests");

    const QStringList all3 = {"9600", "19200", "38400"};
    const QStringList requests = {"Player Status", "Current file", "Full path name",
                                  "Used storage media", "Current folder number",
                                  "Remaining time", "Total time of the file", "Volume"};
    const QStringList serialA = Everyone + Serial;
    QTest::newRow("Pebble Player 2") << 0 << serialA << all3 << "19200" << 1000 << 64 << QStringList();
    QTest::newRow("Heron Player") << 1 << serialA << all3 << "19200" << 1000 << 64 << QStringList();
    QTest::newRow("Larch Player") << 2 << serialA << all3 << "9600" << 128 << 64 << QStringList();
    QTest::newRow("KS10 - KS15") << 3 << serialA + TableB + SerialB << QStringList{"19200"}
                                 << "19200" << 256 << 31 << requests;
    QTest::newRow("KS15 - TCP/IP") << 4 << Everyone + TableB + QStringList{"frame_IP"}
                                   << QStringList() << "" << 1000 << 31 << requests;
}

void WindowTest::modelConfiguresPanel()
{
    QFETCH(int, index);
    QFETCH(QStringList, visible);
    // From another model, then again after every selector was moved: each time
    // the lists are rebuilt and their current items reset.
    chooseModel(window, index == 3 ? 4 : 3);
    chooseModel(window, index);
    for (const char *name : {"comboBox_Baudrate", "comboBox_ID", "comboBox_Folder",
                             "comboBox_Request"})
        box(name)->setCurrentIndex(box(name)->count() - 1);
    widget<QSlider>("horizontalSlider_Volume")->setValue(3);
    chooseModel(window, index);

    // The saved settings name the model by its text.
    QCOMPARE(box("comboBox_Player")->currentText(), QString(QTest::currentDataTag()));
    for (const QString &name : ModelDependent)
        QVERIFY2(widget<QWidget>(name)->isHidden() == !visible.contains(name), qPrintable(name));
    // Without any port listed a device path can still be typed.
    QVERIFY(panelShowsLink(window, false));
    QVERIFY(widget<QWidget>("frame_Player")->isEnabled() && widget<QWidget>("frame_Port")->isEnabled());
    QVERIFY(widget<QWidget>("frame_Baudrate")->isEnabled() || index == TcpModelIndex);

    QTEST(items(box("comboBox_Baudrate")), "speeds");
    QTEST(box("comboBox_Baudrate")->currentText(), "currentSpeed");
    // "0" addresses every player; a new ID cannot be 0.
    const QStringList ids = items(box("comboBox_ID"));
    QCOMPARE(ids.size(), 128);
    QCOMPARE(ids.last(), QStringLiteral("127"));
    QCOMPARE(box("comboBox_ID")->currentText(), QStringLiteral("0"));
    QCOMPARE(items(box("comboBox_Change_ID")), ids.mid(1));

    QComboBox *folders = box("comboBox_Folder");
    QTEST(folders->count(), "folders");
    for (int i = 0; i < folders->count(); ++i)
        QCOMPARE(folders->itemText(i), QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    QCOMPARE(folders->currentIndex(), 0);

    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    QTEST(slider->maximum(), "volumeMax");
    QTEST(slider->value(), "volumeMax");

    QTEST(items(box("comboBox_Request")), "requests");
    if (index == TcpModelIndex)
        QCOMPARE(widget<QLabel>("label_IP_Port")->text(), QStringLiteral("( Port Number: 65079 )"));
}

void WindowTest::ipBoxesTakeAnAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QList<int>>("octets");
    QTest::newRow("typed") << "192.168.1.20" << "" << QList<int>{192, 168, 1, 20};
    // Each box refuses a digit that would take it above 255.
    QTest::newRow("typed, too large") << "256.1.2.3" << "" << QList<int>{25, 1, 2, 3};
    QTest::newRow("pasted") << "" << " 10.0.200.7\n" << QList<int>{10, 0, 200, 7};
    QTest::newRow("pasted, not an address") << "" << "10.0.256.7" << QList<int>{9, 9, 9, 9};
}

void WindowTest::ipBoxesTakeAnAddress()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    chooseModel(window, TcpModelIndex);
    QVERIFY(activateWindow(window));
    // Typed over an older address, each box's text selected as the cursor arrives.
    for (int i = 1; i <= 4; ++i)
        widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i))->setValue(9);
    auto *first = widget<QSpinBox>("spinBox_IP_1");
    first->setFocus();
    first->selectAll();
    // Each key goes where the focus is now, as the operator's keyboard does.
    for (const QChar c : typed)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(first, QKeySequence::Paste);
    }
    QList<int> octets;
    for (int i = 1; i <= 4; ++i)
        octets << widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i))->value();
    QTEST(octets, "octets");
}

void WindowTest::formKeepsWhatTheCodeNeeds()
{
    // A renamed object or signal leaves its on_<object>_<signal> slot silently unconnected.
    const QMetaObject *meta = window->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QByteArray slot = meta->method(i).methodSignature();
        if (!slot.startsWith("on_"))
            continue;
        const int split = slot.lastIndexOf('_', slot.indexOf('('));
        const QList<QObject *> found = window->findChildren<QObject *>(slot.mid(3, split - 3));
        QVERIFY2(found.size() == 1, slot.constData());
        QVERIFY2(found[0]->metaObject()->indexOfSignal(slot.mid(split + 1)) >= 0, slot.constData());
    }
    QVERIFY(widget<QTextEdit>("textEdit_Data")->isReadOnly());
}

void WindowTest::openGlSettingStaysThePanels()
{
    // Off for the panel unless the user chose; gone again once Qt has read it,
    // so the programs the Help menu starts keep the user's setting or none.
    const char *const variable = "QT_XCB_GL_INTEGRATION";
    for (const QByteArray &users : {QByteArray(), QByteArray("xcb_egl")}) {
        qunsetenv(variable);
        if (!users.isEmpty())
            qputenv(variable, users);
        const bool turnedOff = turnOpenGlOff();
        QCOMPARE(qgetenv(variable), users.isEmpty() ? QByteArray("none") : users);
        forgetOpenGlSetting(turnedOff);
        QCOMPARE(qEnvironmentVariableIsSet(variable), !users.isEmpty());
        QCOMPARE(qgetenv(variable), users);
    }
}

void WindowTest::noDisplaySaysOneLine()
{
    // No display named, or one named that does not answer: one line and a
    // plain failure, not Qt's page and abort.
    QList<QByteArray> said;
    for (const QString display : {"", ":87"}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        if (!display.isEmpty())
            environment.insert("DISPLAY", display);
        QProcess panel;
        panel.setProcessEnvironment(environment);
        panel.start(QUORVEX_PATH, QStringList());
        QVERIFY(panel.waitForFinished(20000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 1);
        said << panel.readAllStandardOutput() + panel.readAllStandardError();
    }
    QCOMPARE(said[1], said[0]);
    QVERIFY(said[0].startsWith("error: no display answers") && said[0].count('\n') == 1);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
