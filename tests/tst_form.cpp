// The main window form as the rest of the panel relies on it: object names and
// classes, where each widget sits, the size limits and stretch that shape the
// layout, the two radio groups, the actions and menus, and the About form.

#include <QtTest>

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>

#include "app/mainwindow.h"
#include "testsupport.h"
#include "ui_aboutwindow.h"

namespace {

const QStringList SentFormats = {"radioButton_Sent_Hex", "radioButton_Sent_Dec"};
const QStringList DataFormats = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                                 "radioButton_Data_Dec"};
const QStringList RadioButtons = SentFormats + DataFormats;

// Names a layout item the way the layout-order table spells it.
QString itemName(QLayoutItem *item)
{
    if (item->widget())
        return item->widget()->objectName();
    if (item->layout())
        return item->layout()->objectName();
    return item->expandingDirections() == Qt::Vertical ? QStringLiteral("<vspacer>")
                                                       : QStringLiteral("<hspacer>");
}

QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class FormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void objectTree_data();
    void objectTree();
    void layoutOrder_data();
    void layoutOrder();
    void commandColumnStretch();
    void extraSpaceGoesToReceivedData();
    void sizeLimits_data();
    void sizeLimits();
    void ipSpinBoxes_data();
    void ipSpinBoxes();
    void radioGroupsByParent_data();
    void radioGroupsByParent();
    void noButtonGroupObject();
    void actions_data();
    void actions();
    void languageActionsNotExclusive();
    void menus_data();
    void menus();
    void windowParts();
    void icons_data();
    void icons();
    void aboutForm();
    void aboutButtonBoxCloses_data();
    void aboutButtonBoxCloses();

private:
    template <typename T> T *widget(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return w;
    }
    // Heights of the command column's visible widgets, by name.
    QMap<QString, int> commandColumnHeights() const;

    MainWindow *window = nullptr;
};

void FormTest::initTestCase()
{
    prepare_Test_Process();
}

void FormTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void FormTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

void FormTest::objectTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");

    auto row = [](const char *name, const char *className, const char *parent) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className)
                            << QString::fromLatin1(parent);
    };
    for (const char *action :
         {"action_Default", "action_Exit", "action_English", "action_French",
          "action_Brenvale_Home_Page", "action_Contact_Technical_Support", "action_About"})
        row(action, "QAction", "MainWindow");

    row("centralWidget", "QWidget", "MainWindow");
    row("horizontalLayout", "QHBoxLayout", "centralWidget");
    row("verticalLayout_Settings", "QVBoxLayout", "horizontalLayout");
    row("frame_Settings", "QFrame", "centralWidget");
    row("verticalLayout_14", "QVBoxLayout", "frame_Settings");
    row("frame_Player", "QFrame", "frame_Settings");
    row("verticalLayout_10", "QVBoxLayout", "frame_Player");
    row("label_Player", "QLabel", "frame_Player");
    row("comboBox_Player", "QComboBox", "frame_Player");
    row("frame_Port", "QFrame", "frame_Settings");
    row("verticalLayout_11", "QVBoxLayout", "frame_Port");
    row("label_Port", "QLabel", "frame_Port");
    row("comboBox_Port", "QComboBox", "frame_Port");
    row("frame_Baudrate", "QFrame", "frame_Settings");
    row("verticalLayout_12", "QVBoxLayout", "frame_Baudrate");
    row("label_Baudrate", "QLabel", "frame_Baudrate");
    row("comboBox_Baudrate", "QComboBox", "frame_Baudrate");
    row("frame_IP", "QFrame", "frame_Settings");
    row("verticalLayout_13", "QVBoxLayout", "frame_IP");
    row("label_IP", "QLabel", "frame_IP");
    row("frame_IP_2", "QFrame", "frame_IP");
    row("verticalLayout_3", "QVBoxLayout", "frame_IP_2");
    row("horizontalLayout_IP", "QHBoxLayout", "verticalLayout_3");
    row("spinBox_IP_1", "QSpinBox", "frame_IP_2");
    row("label_IP_Separateur_1", "QLabel", "frame_IP_2");
    row("spinBox_IP_2", "QSpinBox", "frame_IP_2");
    row("label_IP_Separateur_2", "QLabel", "frame_IP_2");
    row("spinBox_IP_3", "QSpinBox", "frame_IP_2");
    row("label_IP_Separateur_3", "QLabel", "frame_IP_2");
    row("spinBox_IP_4", "QSpinBox", "frame_IP_2");
    row("label_IP_Port", "QLabel", "frame_IP");
    row("checkBox_Auto_connection", "QCheckBox", "frame_Settings");
    row("pushButton_Connect", "QPushButton", "centralWidget");
    row("pushButton_Disconnect", "QPushButton", "centralWidget");

    row("frame_Commands", "QFrame", "centralWidget");
    row("verticalLayout_2", "QVBoxLayout", "frame_Commands");
    row("horizontalLayout_ID_and_Folder", "QHBoxLayout", "verticalLayout_2");
    row("frame_ID", "QFrame", "frame_Commands");
    row("verticalLayout", "QVBoxLayout", "frame_ID");
    row("label_ID", "QLabel", "frame_ID");
    row("comboBox_ID", "QComboBox", "frame_ID");
    row("line_after_ID", "QFrame", "frame_Commands");
    row("frame_Change_ID", "QFrame", "frame_Commands");
    row("verticalLayout_15", "QVBoxLayout", "frame_Change_ID");
    row("label_Change_ID", "QLabel", "frame_Change_ID");
    row("horizontalLayout_Request_3", "QHBoxLayout", "verticalLayout_15");
    row("comboBox_Change_ID", "QComboBox", "frame_Change_ID");
    row("pushButton_Change_ID", "QPushButton", "frame_Change_ID");
    row("line_after_Change_ID", "QFrame", "frame_Commands");
    row("frame_Folder", "QFrame", "frame_Commands");
    row("verticalLayout_4", "QVBoxLayout", "frame_Folder");
    row("label_Folder", "QLabel", "frame_Folder");
    row("horizontalLayout_Folder", "QHBoxLayout", "verticalLayout_4");
    row("comboBox_Folder", "QComboBox", "frame_Folder");
    row("pushButton_Folder", "QPushButton", "frame_Folder");
    row("line_ID_and_Folder", "QFrame", "frame_Commands");
    row("frame_Playback_Command", "QFrame", "frame_Commands");
    row("verticalLayout_5", "QVBoxLayout", "frame_Playback_Command");
    row("label_Playback_Command", "QLabel", "frame_Playback_Command");
    row("horizontalLayout_Playback_Command", "QHBoxLayout", "verticalLayout_5");
    for (const char *button :
         {"pushButton_Previous_Folder", "pushButton_Previous_File", "pushButton_Play",
          "pushButton_Stop", "pushButton_Pause", "pushButton_Next_File", "pushButton_Next_Folder"})
        row(button, "QPushButton", "frame_Playback_Command");
    row("line_Playback_Command", "QFrame", "frame_Commands");
    row("frame_Volume", "QFrame", "frame_Commands");
    row("verticalLayout_6", "QVBoxLayout", "frame_Volume");
    row("label_Volume", "QLabel", "frame_Volume");
    row("horizontalLayout_Volume", "QHBoxLayout", "verticalLayout_6");
    row("pushButton_Volume_Less", "QPushButton", "frame_Volume");
    row("horizontalSlider_Volume", "QSlider", "frame_Volume");
    row("pushButton_Volume_More", "QPushButton", "frame_Volume");
    row("label_Volume_2", "QLabel", "frame_Volume");
    row("line_Volume", "QFrame", "frame_Commands");
    row("frame_Request", "QFrame", "frame_Commands");
    row("verticalLayout_7", "QVBoxLayout", "frame_Request");
    row("label_Request", "QLabel", "frame_Request");
    row("horizontalLayout_Request_2", "QHBoxLayout", "verticalLayout_7");
    row("comboBox_Request", "QComboBox", "frame_Request");
    row("pushButton_Request", "QPushButton", "frame_Request");
    row("line_Request", "QFrame", "frame_Commands");
    row("frame_Sent", "QFrame", "frame_Commands");
    row("verticalLayout_8", "QVBoxLayout", "frame_Sent");
    row("label_Sent", "QLabel", "frame_Sent");
    row("horizontalLayout_Sent", "QHBoxLayout", "verticalLayout_8");
    row("label_Byte_1_B", "QLabel", "frame_Sent");
    row("label_Byte_2_B", "QLabel", "frame_Sent");
    row("label_Byte_3_B", "QLabel", "frame_Sent");
    row("radioButton_Sent_Hex", "QRadioButton", "frame_Sent");
    row("radioButton_Sent_Dec", "QRadioButton", "frame_Sent");
    row("line_Sended_Bytes", "QFrame", "frame_Commands");
    row("frame_Data", "QFrame", "frame_Commands");
    row("verticalLayout_9", "QVBoxLayout", "frame_Data");
    row("label_Data", "QLabel", "frame_Data");
    row("textEdit_Data", "QTextEdit", "frame_Data");
    row("horizontalLayout_Data_2", "QHBoxLayout", "verticalLayout_9");
    row("pushButton_Clear", "QPushButton", "frame_Data");
    row("radioButton_Data_ASCII", "QRadioButton", "frame_Data");
    row("radioButton_Data_Hex", "QRadioButton", "frame_Data");
    row("radioButton_Data_Dec", "QRadioButton", "frame_Data");

    row("menuBar", "QMenuBar", "MainWindow");
    row("menu_File", "QMenu", "menuBar");
    row("menu_Languages", "QMenu", "menuBar");
    row("menu_Help", "QMenu", "menuBar");
    row("mainToolBar", "QToolBar", "MainWindow");
    row("statusBar", "QStatusBar", "MainWindow");
}

void FormTest::objectTree()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);

    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    const QList<QObject *> found = window->findChildren<QObject *>(name);
    QVERIFY2(found.size() == 1, qPrintable(QStringLiteral("%1 objects named %2")
                                               .arg(found.size())
                                               .arg(name)));
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
    QVERIFY(found.first()->parent());
    QCOMPARE(found.first()->parent()->objectName(), parentName);
}

void FormTest::layoutOrder_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("horizontalLayout")
        << "horizontalLayout" << QStringList{"verticalLayout_Settings", "frame_Commands"};
    QTest::newRow("verticalLayout_Settings")
        << "verticalLayout_Settings"
        << QStringList{"frame_Settings", "pushButton_Connect", "pushButton_Disconnect"};
    QTest::newRow("verticalLayout_14")
        << "verticalLayout_14"
        << QStringList{"frame_Player", "frame_Port", "frame_Baudrate", "frame_IP",
                       "checkBox_Auto_connection", "<vspacer>"};
    QTest::newRow("verticalLayout_13")
        << "verticalLayout_13" << QStringList{"label_IP", "frame_IP_2", "label_IP_Port"};
    QTest::newRow("horizontalLayout_IP")
        << "horizontalLayout_IP"
        << QStringList{"spinBox_IP_1", "label_IP_Separateur_1", "spinBox_IP_2",
                       "label_IP_Separateur_2", "spinBox_IP_3", "label_IP_Separateur_3",
                       "spinBox_IP_4"};
    QTest::newRow("verticalLayout_2")
        << "verticalLayout_2"
        << QStringList{"horizontalLayout_ID_and_Folder", "line_ID_and_Folder",
                       "frame_Playback_Command", "line_Playback_Command", "frame_Volume",
                       "line_Volume", "frame_Request", "line_Request", "frame_Sent",
                       "line_Sended_Bytes", "frame_Data"};
    QTest::newRow("horizontalLayout_ID_and_Folder")
        << "horizontalLayout_ID_and_Folder"
        << QStringList{"frame_ID", "line_after_ID", "frame_Change_ID", "line_after_Change_ID",
                       "frame_Folder", "<hspacer>"};
    QTest::newRow("horizontalLayout_Playback_Command")
        << "horizontalLayout_Playback_Command"
        << QStringList{"pushButton_Previous_Folder", "pushButton_Previous_File",
                       "pushButton_Play", "pushButton_Stop", "pushButton_Pause",
                       "pushButton_Next_File", "pushButton_Next_Folder", "<hspacer>"};
    QTest::newRow("horizontalLayout_Volume")
        << "horizontalLayout_Volume"
        << QStringList{"pushButton_Volume_Less", "horizontalSlider_Volume",
                       "pushButton_Volume_More", "label_Volume_2"};
    QTest::newRow("horizontalLayout_Sent")
        << "horizontalLayout_Sent"
        << QStringList{"label_Byte_1_B", "label_Byte_2_B", "label_Byte_3_B",
                       "radioButton_Sent_Hex", "radioButton_Sent_Dec", "<hspacer>"};
    QTest::newRow("verticalLayout_9")
        << "verticalLayout_9"
        << QStringList{"label_Data", "textEdit_Data", "horizontalLayout_Data_2"};
    QTest::newRow("horizontalLayout_Data_2")
        << "horizontalLayout_Data_2"
        << QStringList{"pushButton_Clear", "radioButton_Data_ASCII", "radioButton_Data_Hex",
                       "radioButton_Data_Dec", "<hspacer>"};
}

void FormTest::layoutOrder()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, items);

    auto *box = widget<QLayout>(layout);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i)
        actual << itemName(box->itemAt(i));
    QCOMPARE(actual, items);
}

void FormTest::commandColumnStretch()
{
    auto *column = widget<QVBoxLayout>("verticalLayout_2");
    QCOMPARE(column->count(), 11);
    for (int i = 0; i < column->count(); ++i)
        QCOMPARE(column->stretch(i), i == 10 ? 1 : 0);
}

QMap<QString, int> FormTest::commandColumnHeights() const
{
    QMap<QString, int> heights;
    auto *column = widget<QVBoxLayout>("verticalLayout_2");
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem *item = column->itemAt(i);
        if (!item->isEmpty())
            heights.insert(itemName(item), item->geometry().height());
    }
    return heights;
}

void FormTest::extraSpaceGoesToReceivedData()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Start well above every size hint, so growth is shared by stretch alone.
    const QSize large = window->size() + QSize(200, 300);
    window->resize(large);
    QTRY_COMPARE(window->size(), large);

    auto *settings = widget<QFrame>("frame_Settings");
    auto *commands = widget<QFrame>("frame_Commands");
    auto *data = widget<QTextEdit>("textEdit_Data");
    auto *connectButton = widget<QPushButton>("pushButton_Connect");
    const QMap<QString, int> before = commandColumnHeights();
    const QRect settingsBefore = settings->geometry();
    const QRect commandsBefore = commands->geometry();
    const int dataBefore = data->height();
    const int connectBefore = connectButton->height();

    const QSize growth(120, 150);
    window->resize(large + growth);
    QTRY_COMPARE(window->size(), large + growth);

    QCOMPARE(commands->width(), commandsBefore.width() + growth.width());
    QCOMPARE(settings->width(), settingsBefore.width());
    QCOMPARE(commands->height(), commandsBefore.height() + growth.height());
    QCOMPARE(data->height(), dataBefore + growth.height());
    // The settings column lets its bottom spacer take the height, not its buttons.
    QCOMPARE(settings->height(), settingsBefore.height() + growth.height());
    QCOMPARE(connectButton->height(), connectBefore);

    QMap<QString, int> expected = before;
    expected["frame_Data"] += growth.height();
    QCOMPARE(commandColumnHeights(), expected);
}

void FormTest::sizeLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");

    const QSize none(0, 0);
    const QSize unbounded(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize narrow(64, QWIDGETSIZE_MAX);
    const QSize button(32, 22);
    for (const char *name : {"comboBox_ID", "comboBox_Change_ID", "comboBox_Folder"})
        QTest::newRow(name) << name << none << narrow;
    QTest::newRow("comboBox_Request") << "comboBox_Request" << none << unbounded;
    for (const char *name :
         {"pushButton_Change_ID", "pushButton_Folder", "pushButton_Request",
          "pushButton_Previous_Folder", "pushButton_Previous_File", "pushButton_Play",
          "pushButton_Stop", "pushButton_Pause", "pushButton_Next_File", "pushButton_Next_Folder"})
        QTest::newRow(name) << name << none << button;
    QTest::newRow("pushButton_Volume_Less") << "pushButton_Volume_Less" << none << QSize(48, 22);
    QTest::newRow("pushButton_Volume_More") << "pushButton_Volume_More" << none << QSize(48, 22);
    QTest::newRow("label_Volume_2") << "label_Volume_2" << QSize(22, 0) << unbounded;
    for (const char *name : {"label_Byte_1_B", "label_Byte_2_B", "label_Byte_3_B"})
        QTest::newRow(name) << name << QSize(32, 22) << unbounded;
}

void FormTest::sizeLimits()
{
    QFETCH(QString, name);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);

    auto *w = widget<QWidget>(name);
    QCOMPARE(w->minimumSize(), minimum);
    QCOMPARE(w->maximumSize(), maximum);
}

void FormTest::ipSpinBoxes_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"spinBox_IP_1", "spinBox_IP_2", "spinBox_IP_3", "spinBox_IP_4"})
        QTest::newRow(name) << name;
}

void FormTest::ipSpinBoxes()
{
    QFETCH(QString, name);

    auto *box = widget<QSpinBox>(name);
    QCOMPARE(box->minimum(), 0);
    QCOMPARE(box->maximum(), 255);
    QCOMPARE(box->buttonSymbols(), QAbstractSpinBox::NoButtons);
    QVERIFY(!box->hasFrame());
    QCOMPARE(box->alignment(), Qt::AlignCenter);

    box->setValue(255);
    QCOMPARE(box->value(), 255);
    box->setValue(256);
    QCOMPARE(box->value(), 255);
    box->setValue(-1);
    QCOMPARE(box->value(), 0);
}

void FormTest::radioGroupsByParent_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("sent: hex, then dec") << "radioButton_Sent_Hex" << "radioButton_Sent_Dec";
    QTest::newRow("sent: dec, then hex") << "radioButton_Sent_Dec" << "radioButton_Sent_Hex";
    QTest::newRow("data: ascii, then hex") << "radioButton_Data_ASCII" << "radioButton_Data_Hex";
    QTest::newRow("data: hex, then dec") << "radioButton_Data_Hex" << "radioButton_Data_Dec";
    QTest::newRow("data: dec, then ascii") << "radioButton_Data_Dec" << "radioButton_Data_ASCII";
    QTest::newRow("sent hex, then data dec") << "radioButton_Sent_Hex" << "radioButton_Data_Dec";
    QTest::newRow("data ascii, then sent dec")
        << "radioButton_Data_ASCII" << "radioButton_Sent_Dec";
}

void FormTest::radioGroupsByParent()
{
    QFETCH(QString, first);
    QFETCH(QString, second);

    widget<QRadioButton>(first)->setChecked(true);
    QMap<QString, bool> before;
    for (const QString &name : RadioButtons)
        before[name] = widget<QRadioButton>(name)->isChecked();

    widget<QRadioButton>(second)->setChecked(true);

    // Within the checked button's group only it stays on; the other group is untouched.
    const QStringList &group = SentFormats.contains(second) ? SentFormats : DataFormats;
    for (const QString &name : RadioButtons) {
        const bool expected = group.contains(name) ? name == second : before[name];
        QVERIFY2(widget<QRadioButton>(name)->isChecked() == expected, qPrintable(name));
    }
    if (!group.contains(first))
        QVERIFY(widget<QRadioButton>(first)->isChecked());
}

void FormTest::noButtonGroupObject()
{
    // The two groups exist only through auto-exclusivity among siblings.
    for (const QString &name : RadioButtons) {
        auto *button = widget<QRadioButton>(name);
        QVERIFY2(!button->group(), qPrintable(name));
        QVERIFY2(button->autoExclusive(), qPrintable(name));
    }
}

void FormTest::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<QString>("menu");

    QTest::newRow("action_Default") << "action_Default" << true << "menu_Languages";
    QTest::newRow("action_Exit") << "action_Exit" << false << "menu_File";
    QTest::newRow("action_English") << "action_English" << true << "menu_Languages";
    QTest::newRow("action_French") << "action_French" << true << "menu_Languages";
    QTest::newRow("action_Brenvale_Home_Page")
        << "action_Brenvale_Home_Page" << false << "menu_Help";
    QTest::newRow("action_Contact_Technical_Support")
        << "action_Contact_Technical_Support" << false << "menu_Help";
    QTest::newRow("action_About") << "action_About" << false << "menu_Help";
}

void FormTest::actions()
{
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(QString, menu);

    auto *action = widget<QAction>(name);
    QCOMPARE(action->isCheckable(), checkable);
    QVERIFY(!action->actionGroup());
    QVERIFY(widget<QMenu>(menu)->actions().contains(action));
}

void FormTest::languageActionsNotExclusive()
{
    auto *byDefault = widget<QAction>("action_Default");
    auto *english = widget<QAction>("action_English");
    auto *french = widget<QAction>("action_French");
    // setChecked, not trigger: the language slots are not part of the form.
    byDefault->setChecked(true);
    english->setChecked(true);
    french->setChecked(true);
    QVERIFY(byDefault->isChecked());
    QVERIFY(english->isChecked());
    QVERIFY(french->isChecked());
}

void FormTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("menu_File") << "menu_File" << QStringList{"action_Exit"};
    QTest::newRow("menu_Languages")
        << "menu_Languages"
        << QStringList{"action_Default", "-", "action_English", "action_French"};
    QTest::newRow("menu_Help")
        << "menu_Help"
        << QStringList{"action_Brenvale_Home_Page", "action_Contact_Technical_Support", "-",
                       "action_About"};
}

void FormTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);

    QStringList actual;
    for (const QAction *action : widget<QMenu>(menu)->actions())
        actual << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(actual, entries);
}

void FormTest::windowParts()
{
    QCOMPARE(window->size(), QSize(534, 510));
    QCOMPARE(window->centralWidget(), widget<QWidget>("centralWidget"));
    QCOMPARE(window->menuBar(), widget<QMenuBar>("menuBar"));
    QCOMPARE(window->statusBar(), widget<QStatusBar>("statusBar"));

    auto *toolBar = widget<QToolBar>("mainToolBar");
    QCOMPARE(window->toolBarArea(toolBar), Qt::TopToolBarArea);
    QVERIFY(toolBar->actions().isEmpty());

    const QList<QAction *> bar = widget<QMenuBar>("menuBar")->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar.at(0), widget<QMenu>("menu_File")->menuAction());
    QCOMPARE(bar.at(1), widget<QMenu>("menu_Languages")->menuAction());
    QCOMPARE(bar.at(2), widget<QMenu>("menu_Help")->menuAction());

    QCOMPARE(widget<QAction>("action_Exit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    auto *port = widget<QLabel>("label_IP_Port");
    QVERIFY(port->testAttribute(Qt::WA_ForceDisabled));
    QVERIFY(widget<QTextEdit>("textEdit_Data")->isReadOnly());
}

void FormTest::icons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource");

    QTest::newRow("window") << "MainWindow" << ":/Images/AppIcon.ico";
    QTest::newRow("action_Exit") << "action_Exit" << ":/Images/door.png";
    QTest::newRow("action_Brenvale_Home_Page")
        << "action_Brenvale_Home_Page" << ":/Images/house.png";
    QTest::newRow("action_Contact_Technical_Support")
        << "action_Contact_Technical_Support" << ":/Images/email_edit.png";
    QTest::newRow("action_About") << "action_About" << ":/Images/information.png";
    QTest::newRow("action_Default") << "action_Default" << QString();
    QTest::newRow("action_English") << "action_English" << QString();
    QTest::newRow("action_French") << "action_French" << QString();
    QTest::newRow("pushButton_Change_ID") << "pushButton_Change_ID" << ":/Images/Change.png";
    QTest::newRow("pushButton_Folder") << "pushButton_Folder" << ":/Images/Play_C.png";
    QTest::newRow("pushButton_Request") << "pushButton_Request" << ":/Images/Play_C.png";
    QTest::newRow("pushButton_Previous_Folder")
        << "pushButton_Previous_Folder" << ":/Images/Previous_Folder_C.png";
    QTest::newRow("pushButton_Previous_File")
        << "pushButton_Previous_File" << ":/Images/Previous_File_C.png";
    QTest::newRow("pushButton_Play") << "pushButton_Play" << ":/Images/Play_C.png";
    QTest::newRow("pushButton_Stop") << "pushButton_Stop" << ":/Images/Stop_C.png";
    QTest::newRow("pushButton_Pause") << "pushButton_Pause" << ":/Images/Pause_C.png";
    QTest::newRow("pushButton_Next_File")
        << "pushButton_Next_File" << ":/Images/Next_File_C.png";
    QTest::newRow("pushButton_Next_Folder")
        << "pushButton_Next_Folder" << ":/Images/Next_Folder_C.png";
    // Swapped on purpose: Less shows the crossed speaker, More the one with waves.
    QTest::newRow("pushButton_Volume_Less")
        << "pushButton_Volume_Less" << ":/Images/Volume_Max.png";
    QTest::newRow("pushButton_Volume_More")
        << "pushButton_Volume_More" << ":/Images/Volume_Min.png";
}

void FormTest::icons()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);

    QIcon icon;
    if (name == window->objectName())
        icon = window->windowIcon();
    else if (auto *action = window->findChild<QAction *>(name))
        icon = action->icon();
    else
        icon = widget<QAbstractButton>(name)->icon();

    if (resource.isEmpty()) {
        QVERIFY(icon.isNull());
        return;
    }
    QVERIFY2(!QIcon(resource).isNull(), qPrintable(resource + " is not in the resources"));
    QVERIFY(!icon.isNull());
    QCOMPARE(imageOf(icon), imageOf(QIcon(resource)));
}

void FormTest::aboutForm()
{
    QDialog dlg;
    Ui::aboutwindow form;
    form.setupUi(&dlg);

    QCOMPARE(dlg.objectName(), QStringLiteral("aboutwindow"));
    QVERIFY(!dlg.isModal());
    QCOMPARE(dlg.layout(), form.gridLayout);
    QCOMPARE(form.gridLayout->sizeConstraint(), QLayout::SetFixedSize);
    QCOMPARE(form.gridLayout->columnStretch(0), 0);
    QCOMPARE(form.gridLayout->columnStretch(1), 1);

    int row, column, rowSpan, columnSpan;
    form.gridLayout->getItemPosition(form.gridLayout->indexOf(form.label_Infos), &row, &column,
                                     &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column, rowSpan, columnSpan}), QList<int>({0, 1, 1, 1}));
    form.gridLayout->getItemPosition(form.gridLayout->indexOf(form.buttonBox), &row, &column,
                                     &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column, rowSpan, columnSpan}), QList<int>({1, 0, 1, 2}));

    QVERIFY(!form.label->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(!form.label_Infos->openExternalLinks());
    QCOMPARE(form.label_Infos->alignment(), Qt::AlignCenter);
    QCOMPARE(form.buttonBox->standardButtons(), QDialogButtonBox::Ok);
    QVERIFY(form.buttonBox->button(QDialogButtonBox::Ok));

    // A fixed-size layout pins the dialog to its content, whatever it was resized to.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QCOMPARE(dlg.size(), dlg.sizeHint());
}

void FormTest::aboutButtonBoxCloses_data()
{
    QTest::addColumn<bool>("viaOk");
    QTest::addColumn<int>("result");

    QTest::newRow("OK clicked") << true << int(QDialog::Accepted);
    QTest::newRow("box rejected") << false << int(QDialog::Rejected);
}

void FormTest::aboutButtonBoxCloses()
{
    QFETCH(bool, viaOk);
    QFETCH(int, result);

    QDialog dlg;
    Ui::aboutwindow form;
    form.setupUi(&dlg);
    dlg.setResult(-1);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    if (viaOk)
        QTest::mouseClick(form.buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
    else
        emit form.buttonBox->rejected();

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), result);
}

QTEST_MAIN(FormTest)
#include "tst_form.moc"
