#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
struct KeptMaterial;

// An earlier version beside the material's current text, line for line, the lines that differ
// marked: on the version's side those the current text no longer has, on the current side those
// it added.
class VersionComparison : public QWidget
{
    Q_OBJECT
public:
    explicit VersionComparison(QWidget *parent = nullptr);

    void compare(const KeptMaterial &version, const KeptMaterial &current);
    // Nothing to compare: the message stands in the version's place, the current text beside it.
    void showCurrentOnly(const QString &message, const KeptMaterial &current);
    void clear(const QString &message);

private:
    QLabel *m_versionLabel;
    QLabel *m_currentLabel;
    QPlainTextEdit *m_versionText;
    QPlainTextEdit *m_currentText;
};
