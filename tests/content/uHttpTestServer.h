#pragma once
// A small HTTP/1.1 file server on loopback for the server calls. It runs in the test's
// thread: the calls under test block in a local event loop, which serves it.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace tessora::test {

class THttpTestServer : public QObject {
public:
    enum TMode {
        Normal,   // status line, Content-Length, body, close
        NoLength, // body delimited by closing the connection
        Silent,   // reads the request and never answers
        Endless,  // sends the body without a length and keeps the connection open
        Partial   // announces twice the body's length, sends the body and keeps the connection open
    };
    struct TResource {
        QByteArray Body;
        int Status = 200;
        TMode Mode = Normal;
        QByteArray ContentType = "text/plain";
    };

    THttpTestServer() {
        QObject::connect(&Server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = Server.nextPendingConnection()) {
                s->setParent(this);
                QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] { Serve(s); });
            }
        });
    }
    bool Start() { return Server.listen(QHostAddress::LocalHost, 0); }
    quint16 Port() const { return Server.serverPort(); }
    // The base address of the download folder on this server.
    QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1/downloads/Update/").arg(Port()); }

    // Serves `body` at /downloads/Update/<name>.
    void Put(const QString& name, const QByteArray& body, int status = 200, TMode mode = Normal) {
        Files["/downloads/Update/" + name.toUtf8()] = TResource{body, status, mode, "text/plain"};
    }

    QMap<QByteArray, TResource> Files;
    QList<QByteArray> Paths;   // request paths in order
    QList<QByteArray> Headers; // the header block of each request

private:
    void Serve(QTcpSocket* s) {
        QByteArray& buf = Pending[s];
        buf += s->readAll();
        const int end = buf.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray head = buf.left(end);
        buf.clear();
        const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
        const QByteArray path = line.size() >= 2 ? line[1] : QByteArray();
        Paths << path;
        Headers << head;
        const auto it = Files.constFind(path);
        const TResource r = it != Files.constEnd() ? *it : TResource{"not found", 404, Normal, "text/plain"};
        if (r.Mode == Silent) return;
        QByteArray out =
            "HTTP/1.1 " + QByteArray::number(r.Status) + (r.Status == 200 ? " OK" : " Error") + "\r\n";
        out += "Content-Type: " + r.ContentType + "\r\nConnection: close\r\n";
        if (r.Mode == Normal) out += "Content-Length: " + QByteArray::number(r.Body.size()) + "\r\n";
        if (r.Mode == Partial) out += "Content-Length: " + QByteArray::number(2 * r.Body.size()) + "\r\n";
        out += "\r\n" + r.Body;
        s->write(out);
        if (r.Mode != Endless && r.Mode != Partial) s->disconnectFromHost();
    }

    QTcpServer Server;
    QMap<QTcpSocket*, QByteArray> Pending;
};

} // namespace tessora::test
