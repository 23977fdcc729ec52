// The latest-version query window: one HTTP request to the maker's site
// over a TCP socket, and the announced version shown in a message box.
#pragma once

#include "core/VersionQuery.h"

#include <QByteArray>
#include <QDialog>

class QLabel;
class QTcpSocket;

namespace stewardex {

class Form3 : public QDialog {
    Q_OBJECT
public:
    // programFolder: where the logo is.
    Form3(const SiteAddress& site, const QString& programFolder, QWidget* owner = nullptr);
    ~Form3() override;

    // Connects; called once the window is shown.
    void load();
    void cancel();

    QString statusText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connected();
    void dataArrived();
    void connectionClosed();
    void socketFailed();
    void answer(const QString& message);

    SiteAddress site_;
    QByteArray collected_;
    bool loaded_ = false;
    bool answered_ = false;

    QLabel* label2_ = nullptr;
    QTcpSocket* socket_ = nullptr;
};

} // namespace stewardex
