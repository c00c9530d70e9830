#include "app/mainwindow.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTimer>

#include "app/globals.h"
#include "link/received_pane.h"
#include "settings/config_file.h"
#include "ui/ip_address_boxes.h"
#include "ui/status_line.h"
#include "ui_mainwindow.h"

// The images live in the panel library; a static library's resources must be
// registered by hand, outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(images);
}

namespace {
/// Runs an action once, on the event loop's pass after the widget's first
/// paint, when the painted window has reached the screen.
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget *widget, std::function<void()> action)
        : QObject(widget), m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, m_action);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

/// An exclusive group, named `name`, of the form's radio buttons with their ids.
QButtonGroup *formatGroup(QObject *parent, const QString &name,
                          std::initializer_list<std::pair<QAbstractButton *, int>> buttons)
{
    auto *group = new QButtonGroup(parent);
    group->setObjectName(name);
    for (const auto &[button, id] : buttons)
        group->addButton(button, id);
    return group;
}
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    registerResources();
    ui->setupUi(this);
    // A permanent widget: the empty status tips of menu items, which clear the
    // bar's own messages, leave the link's state on view.
    statusLine = new StatusLine(ui->statusBar);
    statusLine->setObjectName(QStringLiteral("label_Status"));
    ui->statusBar->addPermanentWidget(statusLine, 1);
    // Stays on view whatever the link says next, unlike the message that explained it.
    unsavedNote = new QLabel(ui->statusBar);
    unsavedNote->setObjectName(QStringLiteral("label_Settings_Not_Saved"));
    unsavedNote->hide();
    ui->statusBar->addPermanentWidget(unsavedNote);
    sentFormats = formatGroup(this, QStringLiteral("buttonGroup_Sent"),
                              {{ui->radioButton_Sent_Hex, FormatHex},
                               {ui->radioButton_Sent_Dec, FormatDec}});
    dataFormats = formatGroup(this, QStringLiteral("buttonGroup_Data"),
                              {{ui->radioButton_Data_ASCII, FormatAscii},
                               {ui->radioButton_Data_Hex, FormatHex},
                               {ui->radioButton_Data_Dec, FormatDec}});
    receivedPane = new ReceivedPane(ui->textEdit_Data, readDataText, readDataFormatter, this);
    attachIpAddressKeys({ui->spinBox_IP_1, ui->spinBox_IP_2, ui->spinBox_IP_3, ui->spinBox_IP_4});
    fill_Model_Catalogue();
    // Listing the serial ports opens thousands of files, so the window shows
    // first; until then the box holds a saved port as its text.
    new FirstPaintWatcher(this, [this] { listSerialPortsOnce(); });
    connect(ui->comboBox_Port, &PortComboBox::aboutToShowPopup, this,
            &MainWindow::update_Serial_Ports);
    init_Controls();
    setWindowTitle(QCoreApplication::applicationName() + QLatin1Char(' ')
                   + QCoreApplication::applicationVersion());
    hide_Player_Controls();
    update_Player_Panel(0);

    // The catalogue must be filled and the panel configured before the saved
    // settings select among the lists; the language is installed only after
    // the file has set the language actions.
    const QDir dataDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    Config_File_Path =
        dataDir.absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
    if (!dataDir.exists())
        QDir().mkpath(dataDir.absolutePath());
    load_Config_File(Config_File_Path);
    apply_Language();

    update_Connection_Controls();
    connect(serialPort, &QSerialPort::readyRead, this, &MainWindow::update_Serial_Read_Data);
    connect(tcpSocket, &QTcpSocket::readyRead, this, &MainWindow::update_TCP_Read_Data);
    watchLinks();
    create_Shortcuts();
    if (ui->checkBox_Auto_connection->isChecked())
        connect_Player();
}

MainWindow::~MainWindow()
{
    // The form goes after this body, the widgets with the base class. A window
    // closed before its first paint saves the port the list would have shown.
    listSerialPortsOnce();
    save_Config_File(Config_File_Path);
    // The line gets its settings back and the peer sees an orderly close.
    close_Serial_Port();
    close_TCP_Socket();
}

void MainWindow::on_action_Exit_triggered()
{
    close();
}

void MainWindow::showStatus(const std::function<QString()> &text)
{
    statusText = text;
    renderStatus();
}

void MainWindow::renderStatus()
{
    statusLine->setWholeText(statusText ? statusText() : QString());
    unsavedNote->setText(tr("Settings not saved"));
    unsavedNote->setToolTip(tr("This session's settings will not be saved at exit"));
    unsavedNote->setVisible(!settingsSaved);
}
