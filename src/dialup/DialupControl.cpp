#include "dialup/DialupControl.h"

#include "dialup/DialupService.h"
#include "platform/Dialogs.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace vendrel {

DialupControl::DialupControl(DialupService &service, Dialogs &dialogs) : service_(service), dialogs_(dialogs) {}

bool DialupControl::DialupConnected()
{
    const auto connections = service_.listConnections();
    if (!connections) {
        dialogs_.message(u"Erreur dans la connexion"_s, MessageButtons::Ok, MessageIcon::Exclamation, u"Erreur"_s);
        return false;
    }
    return !connections->isEmpty() && connections->first().connected;
}

void DialupControl::zSoubor_Click(QAction &Mnu_DeconnectInternet)
{
    Mnu_DeconnectInternet.setEnabled(DialupConnected());
}

void DialupControl::Mnu_DeconnectInternet_Click()
{
    const auto connections = service_.listConnections();
    if (connections && !connections->isEmpty())
        service_.hangUp(connections->first());
}

void DialupControl::zOdpojit_Click()
{
    const auto connections = service_.listConnections();
    if (!connections)
        return;
    for (const DialupConnection &connection : *connections) {
        if (service_.hangUp(connection))
            dialogs_.message(u"Fin de connexion: "_s + connection.name, MessageButtons::Ok, MessageIcon::Information,
                             applicationTitle());
    }
}

void DialupControl::OfferHangUpBeforeQuit()
{
    if (!DialupConnected())
        return;
    if (dialogs_.message(u"Voulez vous vous déconnecter"_s, MessageButtons::YesNo, MessageIcon::Question,
                         u"Connexion en cours"_s)
        == MessageAnswer::Yes)
        Mnu_DeconnectInternet_Click();
}

} // namespace vendrel
