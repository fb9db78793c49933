#include "app/qenminutesound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QenMinuteSound::QenMinuteSound(std::function<void()> beep, QObject *parent)
    : QObject(parent), m_beep(std::move(beep))
{}

QenMinuteSound::~QenMinuteSound() = default;

void QenMinuteSound::play(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_beep();
        return;
    }
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        connect(m_effect.get(), &QSoundEffect::statusChanged, this, &QenMinuteSound::statusChanged);
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (m_effect->source() != source)
        m_effect->setSource(source);
    switch (m_effect->status()) {
    case QSoundEffect::Error:
        // Asking a failed effect to play would only reset it.
        m_beep();
        return;
    case QSoundEffect::Ready:
        m_effect->play();
        return;
    default:
        // Loading: the effect plays once loaded; a file that fails to load
        // beeps from statusChanged().
        m_waiting = true;
        m_effect->play();
        return;
    }
}

void QenMinuteSound::statusChanged()
{
    const QSoundEffect::Status status = m_effect->status();
    if (status == QSoundEffect::Loading || !m_waiting)
        return;
    m_waiting = false;
    if (status == QSoundEffect::Error)
        m_beep();
}
