<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <source>Player:</source>
        <translation>Lecteur&#xa0;:</translation>
    </message>
    <message>
        <source>Serial Port:</source>
        <translation>Port série&#xa0;:</translation>
    </message>
    <message>
        <source>Baudrate:</source>
        <translation>Débit en bauds&#xa0;:</translation>
    </message>
    <message>
        <source>IP Address of the Player:</source>
        <translation>Adresse IP du lecteur&#xa0;:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Auto-Connection</source>
        <translation>Connexion automatique</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connecter</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Déconnecter</translation>
    </message>
    <message>
        <source>Player ID:</source>
        <translation>ID du lecteur&#xa0;:</translation>
    </message>
    <message>
        <source>Change ID:</source>
        <translation>Changer l’ID&#xa0;:</translation>
    </message>
    <message>
        <source>Folder:</source>
        <translation>Dossier&#xa0;:</translation>
    </message>
    <message>
        <source>Playback Command:</source>
        <translation>Commande de lecture&#xa0;:</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume&#xa0;:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Request:</source>
        <translation>Requête&#xa0;:</translation>
    </message>
    <message>
        <source>Command Bytes Sent:</source>
        <translation>Octets de commande envoyés&#xa0;:</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Hexadecimal</source>
        <translation>Hexadécimal</translation>
    </message>
    <message>
        <source>Decimal</source>
        <translation>Décimal</translation>
    </message>
    <message>
        <source>Data Received:</source>
        <translation>Données reçues&#xa0;:</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>ASCII</source>
        <translation>ASCII</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Langue</translation>
    </message>
    <message>
        <source>(default)</source>
        <translation>(par défaut)</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>English [en]</source>
        <translation>Anglais [en]</translation>
    </message>
    <message>
        <source>French [fr]</source>
        <translation>Français [fr]</translation>
    </message>
    <message>
        <source>&amp;Brenvale Home Page</source>
        <translation>Site web de &amp;Brenvale</translation>
    </message>
    <message>
        <source>&amp;Contact Technical Support</source>
        <translation>&amp;Contacter le support technique</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>( write here your question... )</source>
        <translation>( écrivez ici votre question... )</translation>
    </message>
    <message>
        <source>Connected to %1 at %2 baud</source>
        <translation>Connecté à %1 à %2 bauds</translation>
    </message>
    <message>
        <source>Cannot open serial port %1: %2</source>
        <translation>Impossible d’ouvrir le port série %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Connexion à %1...</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Connecté à %1</translation>
    </message>
    <message>
        <source>Connection to %1 lost: %2</source>
        <translation>Connexion à %1 perdue&#xa0;: %2</translation>
    </message>
    <message>
        <source>Connection to %1 failed: %2</source>
        <translation>Échec de la connexion à %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Serial port %1 lost: %2</source>
        <translation>Port série %1 perdu&#xa0;: %2</translation>
    </message>
    <message>
        <source>Give the player this new ID</source>
        <translation>Donner ce nouvel ID au lecteur</translation>
    </message>
    <message>
        <source>Folders 000 to 009: Ctrl+0 to Ctrl+9</source>
        <translation>Dossiers 000 à 009&#xa0;: Ctrl+0 à Ctrl+9</translation>
    </message>
    <message>
        <source>Play the chosen folder (Ctrl+0 to Ctrl+9 play folders 000 to 009)</source>
        <translation>Lire le dossier choisi (Ctrl+0 à Ctrl+9 lisent les dossiers 000 à 009)</translation>
    </message>
    <message>
        <source>Previous folder (Ctrl+Media Previous key)</source>
        <translation>Dossier précédent (Ctrl+touche multimédia Précédent)</translation>
    </message>
    <message>
        <source>Previous file (Media Previous key)</source>
        <translation>Fichier précédent (touche multimédia Précédent)</translation>
    </message>
    <message>
        <source>Play (Media Play key)</source>
        <translation>Lecture (touche multimédia Lecture)</translation>
    </message>
    <message>
        <source>Stop (Media Stop key)</source>
        <translation>Arrêt (touche multimédia Arrêt)</translation>
    </message>
    <message>
        <source>Pause (Media Pause key)</source>
        <translation>Pause (touche multimédia Pause)</translation>
    </message>
    <message>
        <source>Next file (Media Next key)</source>
        <translation>Fichier suivant (touche multimédia Suivant)</translation>
    </message>
    <message>
        <source>Next folder (Ctrl+Media Next key)</source>
        <translation>Dossier suivant (Ctrl+touche multimédia Suivant)</translation>
    </message>
    <message>
        <source>Lowest volume</source>
        <translation>Volume au minimum</translation>
    </message>
    <message>
        <source>Volume: Ctrl+Plus / Ctrl+Minus</source>
        <translation>Volume&#xa0;: Ctrl+Plus / Ctrl+Moins</translation>
    </message>
    <message>
        <source>Highest volume</source>
        <translation>Volume au maximum</translation>
    </message>
    <message>
        <source>Send the chosen request</source>
        <translation>Envoyer la requête choisie</translation>
    </message>
    <message>
        <source>Disconnected from %1</source>
        <translation>Déconnecté de %1</translation>
    </message>
    <message>
        <source>Connection to %1 failed: timed out</source>
        <translation>Échec de la connexion à %1&#xa0;: délai dépassé</translation>
    </message>
    <message>
        <source>Connection to %1 failed</source>
        <translation>Échec de la connexion à %1</translation>
    </message>
    <message>
        <source>Serial port %1 was removed or unplugged</source>
        <translation>Le port série %1 a été retiré ou débranché</translation>
    </message>
    <message>
        <source>Unusable settings file kept as %1; defaults in use</source>
        <translation>Réglages illisibles gardés dans %1&#xa0;; réglages par défaut</translation>
    </message>
    <message>
        <source>Settings link to a missing file moved to %1; defaults in use</source>
        <translation>Lien de réglages vers un fichier absent déplacé dans %1&#xa0;; réglages par défaut</translation>
    </message>
    <message>
        <source>Unusable settings file left as it is; this session&apos;s settings will not be saved</source>
        <translation>Réglages illisibles laissés tels quels&#xa0;; les réglages de cette session ne seront pas enregistrés</translation>
    </message>
    <message>
        <source>Settings file in use by another panel; this session&apos;s settings will not be saved</source>
        <translation>Fichier de réglages utilisé par un autre panneau&#xa0;; les réglages de cette session ne seront pas enregistrés</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: %2</source>
        <translation>Impossible d’enregistrer les réglages dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>( Port Number: %1 )</source>
        <translation>( Numéro de port&#xa0;: %1 )</translation>
    </message>
    <message>
        <source>Cannot open serial port %1: %2
Check that your user is in the dialout group and that no other program uses the port.</source>
        <translation>Impossible d’ouvrir le port série %1&#xa0;: %2
Vérifiez que votre utilisateur fait partie du groupe dialout et qu’aucun autre programme n’utilise le port.</translation>
    </message>
    <message>
        <source>Brenvale Support Request (From: %1 - %2)</source>
        <translation>Demande d’assistance Brenvale (de la part de&#xa0;: %1 - %2)</translation>
    </message>
    <message>
        <source>&amp;Save Session Log...</source>
        <translation>&amp;Enregistrer le journal de session...</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Not sent: still connecting to %1</source>
        <translation>Non envoyé&#xa0;: connexion à %1 en cours</translation>
    </message>
    <message>
        <source>Cannot open serial port %1: it is in use by another program</source>
        <translation>Impossible d’ouvrir le port série %1&#xa0;: il est utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Connection attempt to %1 cancelled</source>
        <translation>Tentative de connexion à %1 annulée</translation>
    </message>
    <message>
        <source>Save Session Log</source>
        <translation>Enregistrer le journal de session</translation>
    </message>
    <message>
        <source>Session logs (*.log *.txt);;All files (*)</source>
        <translation>Journaux de session (*.log *.txt);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Cannot save the session log to %1: %2</source>
        <translation>Impossible d’enregistrer le journal de session dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation>Réglages non enregistrés</translation>
    </message>
    <message>
        <source>This session&apos;s settings will not be saved at exit</source>
        <translation>Les réglages de cette session ne seront pas enregistrés à la fermeture</translation>
    </message>
    <message>
        <source>Session log saved to %1</source>
        <translation>Journal de session enregistré dans %1</translation>
    </message>
</context>
<context>
    <name>aboutwindow</name>
    <message>
        <source>About</source>
        <translation>À propos de</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>%1 © All rights reserved.</source>
        <translation>%1 © Tous droits réservés.</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <source>Microsoft© %1 %2</source>
        <translation>Microsoft© %1 %2</translation>
    </message>
</context>
</TS>
