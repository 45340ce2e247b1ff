#include "FenetreRegles.h"

#include <QLabel>

#include "Controles.h"

namespace canalisor::ui {

const QString& FenetreRegles::TexteR1() {
    static const QString texte = QString::fromUtf8(
        "Avant de jouer, choisissez votre niveau de difficulté (menu Fichier / Niveau de difficulté).\n"
        "Pour démarrer la partie, sélectionnez Fichier / Nouvelle partie.\n"
        "Il n'est pas possible de modifier la difficulté d'une partie en cours.\n"
        "Une partie s'achève lorsque le joueur n'a plus d'essais ou bien décide d'arrêter manuellement "
        "(menu Fichier / Arrêter la partie).\n");
    return texte;
}

const QString& FenetreRegles::TexteR2() {
    static const QString texte = QString::fromUtf8(
        "Des tuyaux sont disponibles successivement. Les trois prochains sont affichés dans l'ordre "
        "(cases Tuyaux suivants).\n"
        "A chaque fois que le joueur clique sur la grille, il place dans la case correspondante le tuyau "
        "à sa disposition.\n"
        "Un tuyau peut être posé sur un autre tuyau à condition qu'il ne soit ni ancré, ni rempli.\n"
        "Les tuyaux ancrés sont les suivants :\n");
    return texte;
}

const QString& FenetreRegles::TexteR3() {
    static const QString texte = QString::fromUtf8(
        "Une fois la partie lancée, un premier compteur Temps défile (80 secondes en difficulté 1, 60 en "
        "difficulté 2 et 40 en difficulté 3).\n"
        "Une fois ce temps écoulé, les vannes de chaque liquide s'ouvrent et le liquide progresse d'une "
        "case.\n"
        "Pour ne pas déborder, la case suivant la case sur le point d'être remplie doit être également "
        "posée.\n"
        "Ensuite, un nouveau compteur est remis en route et régulièrement (10 secondes en difficulté 1 et 2 "
        "et 5 secondes en difficulté 3), le liquide progresse d'une nouvelle case.\n"
        "Une fois que tous les tuyaux sont correctement placés, ou sur le point de l'être, il est possible "
        "d'accélérer le remplissage en cliquant sur le bouton Vannes max.\n"
        "Il est possible de mettre le jeu en pause (en cliquant sur le bouton Pause) afin de réfléchir plus "
        "calmement à une stratégie.\n"
        "Les points sont calculés de la manière suivante : 1 point par case remplie automatiquement, "
        "2 points (3 en mode difficile) par case remplie de manière accélérée, 100 points par niveau "
        "franchi.\n"
        "Lorsque le joueur termine le 15e niveau, il gagne 1000 points supplémentaires, 1 essai "
        "supplémentaire et recommence au niveau 1 en conservant son score, au niveau de difficulté "
        "supérieur (plafonné à 3).\n");
    return texte;
}

void FenetreRegles::Image(const char* nom, QRect zone, const QString& ressource) {
    // A board cell's frame around the 79 x 79 picture, as on the board itself.
    auto* image = new QLabel(this);
    image->setObjectName(QString::fromLatin1(nom));
    image->setFrameStyle(QFrame::Box | QFrame::Plain);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setGeometry(zone);
    image->setPixmap(ChargerPourEcran(ressource, devicePixelRatioF()));
}

FenetreRegles::FenetreRegles()
    : FenetreAnnexe(QString::fromUtf8("Canalisor - Règles"), Twips(0, 0, 12090, 9585)) {
    setObjectName(QStringLiteral("FenetreRegles"));
    const QFont texte = Police(9.75, false);
    const Qt::Alignment gauche = Qt::AlignLeft | Qt::AlignTop;
    Cadre(Twips(240, 120, 11655, 855));
    Label("Label2", Twips(240, 240, 11535, 615), QString::fromUtf8("Règles du jeu"), Police(18, false),
          Qt::AlignHCenter | Qt::AlignTop, false);
    Label("R1", Twips(240, 1200, 11535, 975), TexteR1(), texte, gauche, false);
    Label("R2", Twips(240, 2400, 11535, 1095), TexteR2(), texte, gauche, false);
    Image("i1", Twips(120, 3720, 1215, 1215), QStringLiteral(":/regle-obstacle.bmp"));
    Image("i2", Twips(1560, 3720, 1215, 1215), QStringLiteral(":/regle-depart.bmp"));
    Image("i3", Twips(4080, 3720, 1215, 1215), QStringLiteral(":/regle-arrivee.bmp"));
    Image("i4", Twips(7080, 3720, 1215, 1215), QStringLiteral(":/regle-porte.bmp"));
    Label("l1", Twips(120, 5040, 1215, 375), QStringLiteral("Obstacle"), texte, gauche, true);
    Label("l2", Twips(1560, 5040, 2295, 1095),
          QString::fromUtf8("Départ du liquide bleu (selon le niveau, il peut y avoir jusqu'à 4 liquides de "
                            "couleurs différentes)"),
          texte, gauche, true);
    Label("l3", Twips(4080, 5040, 2775, 1095),
          QString::fromUtf8("Arrivée du liquide bleu (pour gagner, chaque liquide doit être conduit vers son "
                            "tuyau d'arrivée associé)"),
          texte, gauche, true);
    Label("l4", Twips(7080, 5040, 4575, 1095),
          QString::fromUtf8("Porte pour le liquide bleu (si une porte est présente, le liquide de la couleur "
                            "correspondante doit impérativement transiter par ce passage avant d'atteindre "
                            "son tuyau d'arrivée)"),
          texte, gauche, true);
    Label("R3", Twips(240, 6360, 11655, 3015), TexteR3(), texte, gauche, false);
}

} // namespace canalisor::ui
