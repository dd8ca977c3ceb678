#pragma once

#include <QEvent>
#include <QString>

// The messages the program sends its own windows, as custom events with fixed numbers.
namespace ProgramEvent {
constexpr QEvent::Type RefillViewer = static_cast<QEvent::Type>(1024);    // a viewer refills itself
constexpr QEvent::Type TakeCaptureData = static_cast<QEvent::Type>(1125); // a capture dialog takes new data
constexpr QEvent::Type ReleaseCaptureDialog = static_cast<QEvent::Type>(1126); // a capture dialog ends
constexpr QEvent::Type FinishStart = static_cast<QEvent::Type>(2025); // the tray icon and the floating window
constexpr QEvent::Type ComeForward = static_cast<QEvent::Type>(3024); // a second copy was started
} // namespace ProgramEvent

// A message that carries a text (1125).
class TextEvent : public QEvent
{
public:
    TextEvent(QEvent::Type type, const QString &text) : QEvent(type), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// The refill of a viewer (1024): what to show, and the material's id.
class RefillViewerEvent : public QEvent
{
public:
    RefillViewerEvent(int kind, qint64 id) : QEvent(ProgramEvent::RefillViewer), m_kind(kind), m_id(id) {}
    int kind() const { return m_kind; }
    qint64 id() const { return m_id; }

private:
    int m_kind;
    qint64 m_id;
};
