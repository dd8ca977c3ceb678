#pragma once

#include <QEvent>
#include <QString>

// The messages the program sends its own windows, as custom events with the same numbers.
namespace MessageNumber {
constexpr QEvent::Type ReView = static_cast<QEvent::Type>(1024);            // a viewer refills itself
constexpr QEvent::Type AcceptDataMessage = static_cast<QEvent::Type>(1125); // a capture dialog takes new data
constexpr QEvent::Type ReleaseDialogMessage = static_cast<QEvent::Type>(1126); // a capture dialog ends
constexpr QEvent::Type TrayCallback = static_cast<QEvent::Type>(2024);
constexpr QEvent::Type WM_SHOWDRAGFORM = static_cast<QEvent::Type>(2025);
constexpr QEvent::Type WM_SENCONDRUN = static_cast<QEvent::Type>(3024);
} // namespace MessageNumber

// A message that carries a text (1125).
class TextMessageEvent : public QEvent
{
public:
    TextMessageEvent(QEvent::Type type, const QString &text) : QEvent(type), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// A message with two numbers, as wParam and lParam carried them (1024: kind and material id).
class ParamMessageEvent : public QEvent
{
public:
    ParamMessageEvent(QEvent::Type type, int wParam, qint64 lParam)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam)
    {
    }
    int wParam() const { return m_wParam; }
    qint64 lParam() const { return m_lParam; }

private:
    int m_wParam;
    qint64 m_lParam;
};
