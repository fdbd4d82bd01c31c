#include "ui/ProjectInfo.h"

#include <QStringList>

namespace tesk::project {

QString welcomeMessage() {
    return QStringList{
        QStringLiteral("Welcome!"),
        QString(),
        QStringLiteral("You are running TESK for the first time so you may"),
        QStringLiteral("want to set some settings."),
        // The misspelling is the message's established wording.
        QStringLiteral("It is higly advisable to set your own user name"),
        QStringLiteral("and password for chat option to be available."),
        QString(),
        QStringLiteral("Questions and comments are welcome at %1.")
            .arg(QLatin1String(kContactAddress)),
        QStringLiteral("Enjoy!"),
    }
        .join(QLatin1Char('\n'));
}

}  // namespace tesk::project
