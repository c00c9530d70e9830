#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QLockFile>
#include <QMainWindow>
#include <QScopedPointer>
#include <QString>

#include <functional>
#include <memory>

#include "link/session_log.h"
#include "protocol/catalogue.h"

class QAction;
class QButtonGroup;
class QLabel;
class QTimer;
class ReceivedPane;
class StatusLine;

namespace Ui {
class MainWindow;
}

/// The one window of the panel. Its members are defined in the mainwindow_*.cpp
/// file of the subsystem they serve, named beside each group below; this
/// declaration is the single table of slots, in slot-index order.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// Builds the window in a fixed order (app/mainwindow.cpp says why).
    explicit MainWindow(QWidget *parent = nullptr);
    /// Saves the settings, closes the links, then releases the form.
    ~MainWindow() override;

    /// How long a TCP attempt may take before it is given up; TcpConnectTimeoutMs
    /// (link/link.h) unless set.
    void setConnectTimeout(int milliseconds);

    /// Writes the session log to `path` and says in the status line where it
    /// went or why it could not; File > Save Session Log... asks for the path.
    bool saveSessionLog(const QString &path);
    /// Stops or resumes logging, for the flood benchmark's figures without it.
    void setSessionLogging(bool on) { sessionLog.setRecording(on); }

private slots:
    // 0, the File menu (app/mainwindow.cpp)
    void on_action_Exit_triggered();
    // 1-3, the Languages menu (i18n/mainwindow_language.cpp)
    void on_action_French_triggered();
    void on_action_English_triggered();
    void on_action_Default_triggered();
    // 4-6, the Help menu (ui/mainwindow_help.cpp)
    void on_action_Brenvale_Home_Page_triggered();
    void on_action_Contact_Technical_Support_triggered();
    void on_action_About_triggered();
    // 7, the model selector (protocol/mainwindow_panel.cpp)
    void on_comboBox_Player_activated(int index);
    // 8-9, Connect and Disconnect (link/mainwindow_link.cpp)
    void on_pushButton_Connect_clicked();
    void on_pushButton_Disconnect_clicked();
    // 10-24, the command controls (protocol/mainwindow_commands.cpp)
    void on_radioButton_Sent_Hex_clicked();
    void on_radioButton_Sent_Dec_clicked();
    void on_pushButton_Folder_clicked();
    void on_pushButton_Change_ID_clicked();
    void on_pushButton_Previous_Folder_clicked();
    void on_pushButton_Previous_File_clicked();
    void on_pushButton_Play_clicked();
    void on_pushButton_Stop_clicked();
    void on_pushButton_Pause_clicked();
    void on_pushButton_Next_Folder_clicked();
    void on_pushButton_Next_File_clicked();
    void on_pushButton_Volume_Less_clicked();
    void on_pushButton_Volume_More_clicked();
    void on_horizontalSlider_Volume_valueChanged(int value);
    void on_pushButton_Request_clicked();
    // 25-27, the received-data pane (link/mainwindow_monitor.cpp)
    void update_Serial_Read_Data();
    void on_pushButton_Clear_clicked();
    void update_TCP_Read_Data();
    // 28-39, the shortcuts' own slots (protocol/mainwindow_commands.cpp; bound
    // in protocol/mainwindow_shortcuts.cpp)
    void Play_Folder_000();
    void Play_Folder_001();
    void Play_Folder_002();
    void Play_Folder_003();
    void Play_Folder_004();
    void Play_Folder_005();
    void Play_Folder_006();
    void Play_Folder_007();
    void Play_Folder_008();
    void Play_Folder_009();
    void Increase_Volume();
    void Decrease_Volume();
    // 40, the File menu's session log (link/mainwindow_session_log.cpp)
    void on_action_Save_Session_Log_triggered();

private:
    // Player selection and panel reconfiguration (protocol/mainwindow_panel.cpp)
    void fill_Model_Catalogue();
    void init_Controls();
    void hide_Player_Controls();
    void update_Player_Panel(int index);
    void showCommandControls(const PlayerModel &model, const PlayerCommand &command);
    /// Composes the port label in the language in force, for a TCP model.
    void showPortLabel(const PlayerModel &model);
    void update_Connection_Controls();
    /// The model chosen in the model selector, or nullptr without a current item.
    const PlayerModel *selectedModel() const;

    // Command frames (protocol/mainwindow_commands.cpp)
    /// Writes the frame on the links that carry frames and logs it as `name`;
    /// true when some link took it.
    bool send_Command(quint8 code, quint8 value, const QString &name);
    /// The log's name of a frame of the selected model's `kind`.
    QString commandName(CommandKind kind, int argument) const;
    void sendFixedCommand(CommandKind kind);
    void show_Sent_Bytes(quint8 address, quint8 code, quint8 value);
    bool find_Command(CommandKind kind, quint8 &code, quint8 &value) const;
    bool find_Volume_Command(quint8 &code, quint8 &value, quint8 volume) const;
    void play_Folder(int folder);
    void show_Volume_Value();

    // Keyboard shortcuts (protocol/mainwindow_shortcuts.cpp)
    void create_Shortcuts();

    // Serial and TCP link (link/mainwindow_link.cpp)
    void update_Serial_Ports();
    /// Lists the ports unless that was done: the first listing waits for the
    /// first paint, but a connection or the save at exit may come before it.
    void listSerialPortsOnce();
    /// Makes `port` the box's choice: its item if listed, else its typed text.
    void showPort(const QString &port);
    void connect_Player();
    void connect_Serial();
    void connect_TCP();
    void open_Serial_Port(int speed, const QString &portName);
    void open_TCP_Socket(const QString &host, quint16 port);
    void disconnect_Player();
    void close_Serial_Port();
    void close_TCP_Socket();

    // Watching the links (link/mainwindow_link_watch.cpp)
    void watchLinks();
    void giveUpTcpAttempt();
    void dropTcpLink(bool afterError);
    void dropSerialLink(bool removed, const QString &reason);

    // The session log (link/mainwindow_session_log.cpp)
    /// The links as the log names them: "serial /dev/ttyUSB0", "TCP 10.0.0.5:65079".
    QString serialLinkName() const;
    QString tcpLinkName() const;
    /// Shows a link event in the status line and logs it in the words shown.
    void reportLinkEvent(const QString &link, const std::function<QString()> &text);

    // The status line (app/mainwindow.cpp)
    /// Shows in the status line what `text` composes, now and again after each
    /// language change: its first line, elided to the line's width if need be;
    /// the tooltip holds the whole text, further lines included.
    void showStatus(const std::function<QString()> &text);
    void renderStatus();

    // Received-data monitor (link/mainwindow_monitor.cpp)
    void read_Serial_Data(QByteArray &data);
    void read_TCP_Data(QByteArray &data);
    /// Hands a chunk to the pane in the format checked now.
    void showReadData(const QByteArray &chunk);

    // Configuration file (settings/mainwindow_settings.cpp)
    void load_Config_File(QString path);
    void save_Config_File(QString path);
    /// Moves an unusable settings file aside and says where, or, when it
    /// cannot, says that this session's settings will not be saved.
    void keepUnusable(const QString &path, bool dangling);

    // Language selection (i18n/mainwindow_language.cpp)
    void clear_Language_Checks();
    void apply_Language();
    /// The configuration file's text for the checked language.
    QString checkedLanguage() const;
    /// Checks the language the configuration file's text names, else the default.
    void checkLanguage(const QString &configText);
    /// A language chosen in the menu: checks it alone and applies it.
    void changeLanguage(QAction *chosen);

    QScopedPointer<Ui::MainWindow> ui;
    /// The sent-bytes notation's and the received-data format's radio buttons,
    /// each with the configuration file's code (FormatHex...) as its id: the
    /// one place that says which button means which format.
    QButtonGroup *sentFormats = nullptr;
    QButtonGroup *dataFormats = nullptr;
    /// Keeps textEdit_Data showing readDataText.
    ReceivedPane *receivedPane = nullptr;
    QTimer *connectTimer = nullptr;
    bool serialPortsListed = false;
    /// "host:port" of the last TCP attempt, for the status messages: a socket
    /// that failed to connect no longer knows its peer's port.
    QString tcpTarget;
    /// The serial port of the last opening as the operator gave it: the port
    /// object gives a path under /dev back without that folder.
    QString serialName;
    StatusLine *statusLine = nullptr;
    QLabel *unsavedNote = nullptr;
    /// Held from the reading of the settings to their save at exit, so a second
    /// panel on the same file leaves it to the first.
    std::unique_ptr<QLockFile> settingsLock;
    /// False when another panel holds the settings file, or when an unusable
    /// one could not be moved aside: the save at exit then writes nothing.
    bool settingsSaved = true;
    std::function<QString()> statusText;
    SessionLog sessionLog;
    /// Where the last log was saved, offered again by the next save.
    QString sessionLogFolder;
};

#endif // MAINWINDOW_H
