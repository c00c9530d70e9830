#include "app/globals.h"

#include <QSerialPort>
#include <QTcpSocket>

QTranslator translator;
QTranslator qtTranslator;
const QString LanguageFilePrefix = QStringLiteral("LanguageData_");
const QLocale EnglishLocale(QLocale::English);
const QLocale FrenchLocale(QLocale::French);

QList<PlayerModel> ModelCatalogue;

QSerialPort *const serialPort = new QSerialPort();
QTcpSocket *const tcpSocket = new QTcpSocket();

QString readDataText;
ReceivedDataFormatter readDataFormatter;

QString Config_File_Path;
