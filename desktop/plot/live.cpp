// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live.h"

#include <mutex>
#include <thread>

#include <mosquitto.h>

#include <QMenu>
#include <QMetaObject>
#include <QUrl>

#include "form4.h"
#include "runtime/program.h"
#include "runtime/text.h"

struct LiveConnection::Relay {
    Role role;
    std::string topic;
    std::mutex mutex;
    LiveConnection* to = nullptr; // none once stopped

    // Hands `f` to the GUI thread, after whatever was handed before.
    template <typename F>
    void post(F f)
    {
        std::lock_guard lock(mutex);
        if (LiveConnection* c = to)
            QMetaObject::invokeMethod(c, [c, f = std::move(f)] {
                if (c->mosq_) // not stopped meanwhile
                    f(c);
            }, Qt::QueuedConnection);
    }
};

namespace {

const char* const clientsTopic = "$SYS/broker/clients/connected";

// A lost link is noticed within one and a half keep-alives.
constexpr int keepAliveSeconds = 15;

} // namespace

// libmosquitto's own thread (mosquitto_loop_start) rather than its socket in
// Qt's loop: only that loop reconnects by itself, with the growing pause,
// and keeps the connection alive while the GUI is busy drawing.
LiveConnection::LiveConnection(const QString& host, int port, Role role, const std::string& className,
                               const QString& password)
    : relay_(std::make_shared<Relay>())
{
    static const bool initialised = (mosquitto_lib_init(), true);
    (void)initialised;
    relay_->role = role;
    relay_->topic = tc::live::lessonTopic(className);
    relay_->to = this;
    mosq_ = mosquitto_new(nullptr, true, relay_.get());
    mosquitto_username_pw_set(mosq_, role == Role::Teacher ? "insegnante" : "studenti", password.toUtf8().constData());
    // 1, 4, 9, 16, 25 seconds, then every 30.
    mosquitto_reconnect_delay_set(mosq_, 1, 30, true);
    mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* obj, int rc) {
        Relay* r = static_cast<Relay*>(obj);
        if (rc == 0) {
            // A clean session each time: subscribe again after every
            // reconnection. A teacher reads the lesson too, to take it up
            // again after a restart.
            mosquitto_subscribe(m, nullptr, r->topic.c_str(), 1);
            if (r->role == Role::Teacher)
                mosquitto_subscribe(m, nullptr, clientsTopic, 1);
            r->post([](LiveConnection* c) { emit c->connectionChanged(true); });
        } else if (rc == 4 || rc == 5) {
            // Bad user name or password, or not authorised: trying again
            // gets the same answer.
            mosquitto_disconnect(m);
            r->post([](LiveConnection* c) { emit c->failed(QStringLiteral("Nome della classe o password non accettati dal server.")); });
        }
    });
    mosquitto_disconnect_callback_set(mosq_, [](mosquitto*, void* obj, int) {
        static_cast<Relay*>(obj)->post([](LiveConnection* c) { emit c->connectionChanged(false); });
    });
    mosquitto_message_callback_set(mosq_, [](mosquitto*, void* obj, const mosquitto_message* m) {
        Relay* r = static_cast<Relay*>(obj);
        QByteArray bytes(static_cast<const char*>(m->payload), m->payloadlen);
        bool number = false;
        if (r->topic == m->topic)
            r->post([bytes](LiveConnection* c) { emit c->arrived(bytes); });
        else if (const int n = bytes.trimmed().toInt(&number); number)
            r->post([n](LiveConnection* c) { emit c->clientsConnected(n); });
    });
    const QByteArray name = host.toUtf8();
    const int rc = mosquitto_connect_async(mosq_, name.constData(), port, keepAliveSeconds);
    if (rc == MOSQ_ERR_EAI || rc == MOSQ_ERR_INVAL) {
        relay_->post([host](LiveConnection* c) { emit c->failed(QStringLiteral("Server della classe non trovato: «%1».").arg(host)); });
        return;
    }
    // Any other failure (the server not up yet) is tried again by the loop.
    mosquitto_loop_start(mosq_);
}

LiveConnection::~LiveConnection() { stop(); }

void LiveConnection::stop()
{
    if (!mosq_)
        return;
    {
        std::lock_guard lock(relay_->mutex);
        relay_->to = nullptr;
    }
    // The loop sees the disconnection, also in its pause between two
    // attempts, and ends by itself; then the client goes.
    mosquitto_disconnect(mosq_);
    std::thread([m = mosq_, keep = relay_] {
        mosquitto_loop_stop(m, false);
        mosquitto_destroy(m);
    }).detach();
    mosq_ = nullptr;
}

void LiveConnection::publish(std::string_view bytes)
{
    // While the link is down this fails or waits in libmosquitto's queue;
    // the class publishes the whole lesson again on reconnecting anyway.
    if (mosq_)
        mosquitto_publish(mosq_, nullptr, relay_->topic.c_str(), int(bytes.size()), bytes.data(), 1, true);
}

std::optional<std::pair<QString, int>> LiveConnection::parseAddress(const QString& address)
{
    const QString text = address.trimmed();
    if (text.isEmpty() || text.contains(u'/') || text.contains(u'@'))
        return std::nullopt;
    const QUrl url(QStringLiteral("mqtt://") + text);
    const int port = url.port(defaultPort);
    if (!url.isValid() || url.host().isEmpty() || port < 1 || !url.path().isEmpty())
        return std::nullopt;
    return std::pair(url.host(), port);
}

LiveSession::LiveSession(Form4& form4, const QString& host, int port, LiveConnection::Role role,
                         const std::string& className, const QString& password)
    : link_(new LiveConnection(host, port, role, className, password)),
      class_(std::make_unique<tc::live::LiveClass>(form4, *link_, role, className))
{
    tc::live::LiveClass& c = *class_;
    QObject::connect(link_, &LiveConnection::arrived, &form4,
                     [&form4, &c](const QByteArray& b) { form4.handle([&] { c.arrived(std::string_view(b.constData(), std::size_t(b.size()))); }); });
    QObject::connect(link_, &LiveConnection::connectionChanged, &form4, [&c](bool on) { c.connectionChanged(on); });
    QObject::connect(link_, &LiveConnection::clientsConnected, &form4, [&c](int n) { c.clientsConnected(n); });
    QObject::connect(link_, &LiveConnection::failed, &form4, [&form4](const QString& why) {
        form4.leaveLiveClass();
        tc::MsgBox(why);
    });
}

LiveSession::~LiveSession()
{
    class_.reset();
    link_->stop();
    link_->deleteLater();
}

// Here, where a live session is a whole type.
Form4::~Form4() = default;

bool Form4::joinLiveClass(LiveConnection::Role role, const QString& address, const QString& className,
                          const QString& password)
{
    const std::optional<std::pair<QString, int>> at = LiveConnection::parseAddress(address);
    if (!at) {
        tc::MsgBox(QStringLiteral("Indirizzo del server non valido: «%1» (per esempio 192.168.1.10:%2).")
                       .arg(address)
                       .arg(LiveConnection::defaultPort));
        return false;
    }
    const std::string name = className.trimmed().toStdString();
    if (!tc::live::validClassName(name)) {
        tc::MsgBox(QStringLiteral("Nome della classe non valido: «%1» (da 1 a 32 tra lettere minuscole, cifre e '-').")
                       .arg(className));
        return false;
    }
    live_.reset();
    live_ = std::make_unique<LiveSession>(*this, at->first, at->second, role, name, password);
    lastLiveAddress_ = address.trimmed();
    lastLiveClass_ = className.trimmed();
    return true;
}

void Form4::askToJoinLiveClass(LiveConnection::Role role)
{
    const bool teacher = role == LiveConnection::Role::Teacher;
    const std::optional<QString> address =
        tc::askText(QStringLiteral("Indirizzo del server della classe (host:porta):"), lastLiveAddress_, 200);
    if (!address)
        return;
    const std::optional<QString> name = tc::askText(QStringLiteral("Nome della classe:"), lastLiveClass_, 32);
    if (!name)
        return;
    // Asked every time, never kept: the screen may be on a projector.
    const std::optional<QString> password = tc::askPassword(
        teacher ? QStringLiteral("Password dell'insegnante:") : QStringLiteral("Codice degli studenti:"), 100);
    if (password)
        joinLiveClass(role, *address, *name, *password);
}

void Form4::leaveLiveClass() { live_.reset(); }

tc::live::LiveClass* Form4::liveClass() const { return live_ ? &live_->liveClass() : nullptr; }

void Form4::addLiveActions(QMenu& menu)
{
    const auto add = [&](const char* text, auto action) {
        return menu.addAction(QString::fromUtf8(text), this, [this, action] { handle([&] { action(this); }); });
    };
    using Role = LiveConnection::Role;
    if (!live_) {
        add("Conduci la lezione in diretta…", [](Form4* f) { f->askToJoinLiveClass(Role::Teacher); });
        add("Segui la lezione in diretta…", [](Form4* f) { f->askToJoinLiveClass(Role::Student); });
    } else if (live_->liveClass().role() == Role::Teacher) {
        add("Termina la lezione in diretta", [](Form4* f) { f->leaveLiveClass(); });
    } else {
        QAction* follow = menu.addAction(QStringLiteral("Segui l'insegnante"), this, [this](bool on) {
            handle([&] {
                if (live_)
                    live_->liveClass().setFollowingTeacher(on);
            });
        });
        follow->setCheckable(true);
        follow->setChecked(followingTeacher());
        add("Lascia la lezione in diretta", [](Form4* f) { f->leaveLiveClass(); });
    }
}
