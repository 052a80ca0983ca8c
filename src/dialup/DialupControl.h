#pragma once

class QAction;

namespace vendrel {

class Dialogs;
class DialupService;

// The dial-up commands of the "&Fichier" menu and the quit command: telling
// whether the line is up and hanging it up.
class DialupControl {
public:
    DialupControl(DialupService &service, Dialogs &dialogs);

    // True when the first listed dial-up connection is up. A service that
    // cannot answer is reported, and counts as no connection.
    bool DialupConnected();

    // The "&Fichier" menu is opening: "Se déconnecter d'Internet" is offered
    // only while a dial-up connection is up.
    void zSoubor_Click(QAction &Mnu_DeconnectInternet);

    // Hangs up the connection the system dialled for Internet access, the first
    // one listed (the one DialupConnected looks at). Silent whatever happens.
    void Mnu_DeconnectInternet_Click();

    // "&Fin de connexion": hangs up every dial-up connection and names each one
    // closed. Silent when nothing can be listed or a connection stays up.
    void zOdpojit_Click();

    // The quit command, once confirmed: with a dial-up connection up, offers to
    // hang it up first. Whatever the answer, the caller then quits.
    void OfferHangUpBeforeQuit();

private:
    DialupService &service_;
    Dialogs &dialogs_;
};

} // namespace vendrel
