#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

// Runs or opens an instance material's file (see LaunchPlan) and says in a message box when it
// cannot: a program after the person agreed to run it, a folder or another file through the
// desktop's opener, whose exit status is read when it ends.
class InstanceLauncher : public QObject
{
    Q_OBJECT
public:
    // Message boxes go on the window.
    explicit InstanceLauncher(QWidget *window);

    // The command that opens a folder or file with the desktop's handler, the path appended:
    // xdg-open where it is installed, else gio open.
    static QStringList defaultOpener();
    void setOpener(const QStringList &command) { m_opener = command; }

public slots:
    void launch(const QString &path);

signals:
    // An opener ended; its failure has been said.
    void openerFinished(bool opened);

private:
    void run(const QString &program, const QString &folder);
    void open(const QString &path);
    void tell(const QString &path, const QString &reason);

    QWidget *m_window;
    QStringList m_opener;
};
