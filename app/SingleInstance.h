#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

// One program per user and bank: the first start listens on a local socket named by key; a later
// start finds it there, asks it to come to the front and ends. A socket left by a killed program
// answers nobody and is taken over, so it never stops the next start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when no other program holds the key: this one then holds it until it goes. False when
    // another does; that one has been asked to come to the front.
    bool claim();
    bool holds() const { return listenFd_ >= 0; }

    // The key of this user's program on a data folder.
    static QString KeyFor(const QString& dataDir);

signals:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    bool askRunning() const;
    bool listen();

    void acceptOne();

    QString key_;
    QByteArray path_; // the socket file, where a local server of Qt's would put it
    int listenFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

// Shows a window that may be minimized or behind others in front, and gives it the keyboard.
void BringToFront(QWidget* window);
