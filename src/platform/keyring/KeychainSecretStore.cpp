#include "platform/keyring/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

#include <QObject>
#include <utility>

namespace tesk {

namespace {

const QString kService = QStringLiteral("TESK");

// QtKeychain runs its jobs one after the other, so the answers keep the order of the
// requests; a job deletes itself once it has finished. A job that fails at once finishes
// within start(), so the answer is always handed on through the event loop.
void start(QKeychain::Job* job, const std::string& key, QObject* context,
           SecretStore::Answer answer) {
    job->setInsecureFallback(false);
    job->setKey(QString::fromStdString(key));
    QObject::connect(
        job, &QKeychain::Job::finished, context,
        [context, answer = std::move(answer)](QKeychain::Job* finished) {
            SecretAnswer result;
            switch (finished->error()) {
                case QKeychain::NoError:
                    result.result = SecretAnswer::Result::Done;
                    if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(finished)) {
                        result.secret = read->binaryData().toStdString();
                    }
                    break;
                case QKeychain::EntryNotFound:
                    result.result = SecretAnswer::Result::NotFound;
                    break;
                default:
                    result.result = SecretAnswer::Result::Unavailable;
                    result.error = finished->errorString().toStdString();
                    break;
            }
            QMetaObject::invokeMethod(
                context, [answer, result] { answer(result); }, Qt::QueuedConnection);
        });
    job->start();
}

}  // namespace

void KeychainSecretStore::read(const std::string& key, QObject* context, Answer answer) {
    start(new QKeychain::ReadPasswordJob(kService), key, context, std::move(answer));
}

void KeychainSecretStore::write(const std::string& key, const std::string& secret, QObject* context,
                                Answer answer) {
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setBinaryData(QByteArray::fromStdString(secret));
    start(job, key, context, std::move(answer));
}

void KeychainSecretStore::remove(const std::string& key, QObject* context, Answer answer) {
    start(new QKeychain::DeletePasswordJob(kService), key, context, std::move(answer));
}

}  // namespace tesk
