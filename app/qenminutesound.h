#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSoundEffect;

// Plays the sound file of the minute signal. A signal the user asked for must
// be heard: a file that is missing, or that turns out not to be a playable
// WAV once loaded, sounds the beep instead.
class QenMinuteSound : public QObject
{
    Q_OBJECT

public:
    explicit QenMinuteSound(std::function<void()> beep, QObject *parent = nullptr);
    ~QenMinuteSound() override;

    void play(const QString &path);

private:
    void statusChanged();

    std::function<void()> m_beep;
    std::unique_ptr<QSoundEffect> m_effect;
    // A play was asked for while the file was still loading.
    bool m_waiting = false;
};
