#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QToolBar;
class QToolButton;

// The caption of the separate viewer filled last; emptied when any viewer closes.
extern QString LastViewerCaption;

// A separate viewer: a window of its own, above the others, showing one material's text or an
// instance's description. It lives until the user closes it.
class TNewFrmViewer : public QWidget
{
    Q_OBJECT
public:
    // Kinds of the refill message.
    enum Kind { TextKind = 0, AboutKind = 1 };

    TNewFrmViewer(const QString &linkCaption, qint64 id, int backColor);

    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;

    static TNewFrmViewer *findByCaption(const QString &caption);
    // The colour a refill applies; the main window's setting may have changed since opening.
    void setBackColor(int color) { m_backColor = color; }

public slots:
    void ToolButton1Click();
    void ToolButton2Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void ReView(int kind, qint64 id);
    void fill(int kind, qint64 id);
    void FontInit();

    int m_backColor;
};
