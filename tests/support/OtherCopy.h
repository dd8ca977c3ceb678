#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>

class MainWindow;
class TestFolder;

// Another copy of the program on the shared base of a test folder, in a process of its own and
// on a program folder of its own that holds the same Base.ini and QB.ini: the program itself, or
// the test program run as a child that wires the main window as the program's start does.
class OtherCopy
{
public:
    explicit OtherCopy(const TestFolder &shared);
    // Kills a copy that still runs.
    ~OtherCopy();

    QString folder() const { return m_folder.path(); }
    // The program itself, with runtime and temporary folders of its own: its single-instance
    // lock is apart from every other copy's.
    bool startProgram();
    // The test program with "--child <folder>", which its main hands to runChild.
    bool startChild();
    // Waits until the copy has written the line, without running this process's event loop.
    bool waitForLine(const QByteArray &line, int timeoutMs);
    // Ends it with SIGTERM, as a logout does; its exit code, or -1 when it did not end.
    int terminate();

    static bool isChild(int argc, char *argv[]);
    // In the child: the main window on the program folder of argv, on the shared base, runs the
    // actions once its event loop runs.
    static int runChild(char *argv[], const std::function<void(MainWindow &window)> &actions);

private:
    bool start(const QString &program, const QStringList &arguments);

    QTemporaryDir m_folder;
    QTemporaryDir m_runtime;
    QProcess m_process;
    QByteArray m_output;
};
