#ifndef FRAMECASES_H
#define FRAMECASES_H

#include <QByteArray>
#include <QList>
#include <QString>

class MainWindow;

/// Adds the columns model, control, argument, id, decimal and frame, and one row
/// per control of each model in `models`, in both notations: the frames worked
/// out by hand for every control the model offers.
void add_Frame_Rows(const QList<int> &models);

/// Works the control as the operator does: picks `argument` in the control's
/// selector (folder, request, new ID) or moves the slider to it, then clicks.
/// `id` goes into the player-ID selector first.
void perform_Control(MainWindow *window, const QString &control, const QString &argument,
                     const QString &id);

/// What the sent-bytes labels show for `frame`, written here independently.
QStringList labels_For(const QByteArray &frame, bool decimal);

/// The three sent-bytes labels' texts.
QStringList sent_Labels(MainWindow *window);

#endif // FRAMECASES_H
