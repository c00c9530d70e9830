#ifndef ABOUTWINDOW_H
#define ABOUTWINDOW_H

#include <QDialog>
#include <QScopedPointer>

namespace Ui {
class aboutwindow;
}

/// The About dialog: program, version, organisation, web address and system,
/// in the language in force when update_Infos() ran.
class aboutwindow : public QDialog
{
    Q_OBJECT

public:
    explicit aboutwindow(QWidget *parent = nullptr);
    ~aboutwindow() override;

    /// Sets the texts again with the translator in force, then the identity.
    void update_Infos();
    QString OS_Description() const;

private:
    QScopedPointer<Ui::aboutwindow> ui;
};

#endif // ABOUTWINDOW_H
