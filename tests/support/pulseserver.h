#ifndef PULSESERVER_H
#define PULSESERVER_H

#include <QProcess>
#include <QTemporaryDir>

// A private PulseAudio sound server for a test: a null sink as the output and its monitor as
// the recording source, so that what is played comes back in a recording. The machine needs
// no sound card. start() points this process at it (PULSE_SERVER) before any audio is used;
// the server is stopped by its own process when the object goes.
class PulseServer
{
public:
    PulseServer() = default;
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;

    // False with a warning when the server did not come up within 10 s.
    bool start();

    // Points this process at a server that does not exist, with no server started on demand:
    // the road of a machine without any audio device.
    static void useNoServer();

private:
    QTemporaryDir m_folder;
    QProcess m_server;
};

#endif // PULSESERVER_H
