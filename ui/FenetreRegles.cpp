#include "FenetreRegles.h"

#include <QLabel>

#include "Controles.h"
#include "Jeu.h"

namespace canalisor::ui {

QString FenetreRegles::TexteR1() {
    return tr("Avant de jouer, choisissez votre niveau de difficulté (menu Fichier / Niveau de difficulté).\n"
              "Pour démarrer la partie, sélectionnez Fichier / Nouvelle partie.\n"
              "Il n'est pas possible de modifier la difficulté d'une partie en cours.\n"
              "Une partie s'achève lorsque le joueur n'a plus d'essais ou bien décide d'arrêter manuellement "
              "(menu Fichier / Arrêter la partie).\n");
}

QString FenetreRegles::TexteR2() {
    return tr(
        "Des tuyaux sont disponibles successivement. Les trois prochains sont affichés dans l'ordre "
        "(cases Tuyaux suivants).\n"
        "A chaque fois que le joueur clique sur la grille, il place dans la case correspondante le tuyau "
        "à sa disposition.\n"
        "Un tuyau peut être posé sur un autre tuyau à condition qu'il ne soit ni ancré, ni rempli.\n"
        "Les tuyaux ancrés sont les suivants :\n");
}

QString FenetreRegles::TexteR3() {
    // The numbers are the game's own: the sentence on the pace names difficulties 1 and 2 together,
    // as they share it, and the points "per cell filled automatically" are the same at every one.
    const Reglage& facile = ReglageDifficulte(1);
    const Reglage& moyen = ReglageDifficulte(2);
    const Reglage& difficile = ReglageDifficulte(3);
    return tr("Une fois la partie lancée, un premier compteur Temps défile (%1 secondes en difficulté 1, %2 "
              "en "
              "difficulté 2 et %3 en difficulté 3).\n"
              "Une fois ce temps écoulé, les vannes de chaque liquide s'ouvrent et le liquide progresse "
              "d'une "
              "case.\n"
              "Pour ne pas déborder, la case suivant la case sur le point d'être remplie doit être également "
              "posée.\n"
              "Ensuite, un nouveau compteur est remis en route et régulièrement (%4 secondes en difficulté 1 "
              "et "
              "2 et %5 secondes en difficulté 3), le liquide progresse d'une nouvelle case.\n"
              "Une fois que tous les tuyaux sont correctement placés, ou sur le point de l'être, il est "
              "possible "
              "d'accélérer le remplissage en cliquant sur le bouton Vannes max.\n"
              "Il est possible de mettre le jeu en pause (en cliquant sur le bouton Pause) afin de réfléchir "
              "plus calmement à une stratégie.\n"
              "Les points sont calculés de la manière suivante : %6 point par case remplie automatiquement, "
              "%7 points (%8 en mode difficile) par case remplie de manière accélérée, %9 points par niveau "
              "franchi.\n"
              "Lorsque le joueur termine le 15e niveau, il gagne %10 points supplémentaires, 1 essai "
              "supplémentaire et recommence au niveau 1 en conservant son score, au niveau de difficulté "
              "supérieur (plafonné à 3).\n")
        .arg(facile.Delai)
        .arg(moyen.Delai)
        .arg(difficile.Delai)
        .arg(facile.Cadence)
        .arg(difficile.Cadence)
        .arg(facile.PointsAuto)
        .arg(facile.PointsVannesOuvertes)
        .arg(difficile.PointsVannesOuvertes)
        .arg(PointsNiveau)
        .arg(PointsDernierNiveau);
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

FenetreRegles::FenetreRegles() : FenetreAnnexe(tr("Canalisor - Règles"), Twips(0, 0, 12090, 9585)) {
    setObjectName(QStringLiteral("FenetreRegles"));
    const QFont texte = Police(9.75, false);
    const Qt::Alignment gauche = Qt::AlignLeft | Qt::AlignTop;
    Cadre(Twips(240, 120, 11655, 855));
    Label("Label2", Twips(240, 240, 11535, 615), tr("Règles du jeu"), Police(18, false),
          Qt::AlignHCenter | Qt::AlignTop, false);
    Label("R1", Twips(240, 1200, 11535, 975), TexteR1(), texte, gauche, false);
    Label("R2", Twips(240, 2400, 11535, 1095), TexteR2(), texte, gauche, false);
    Image("i1", Twips(120, 3720, 1215, 1215), QStringLiteral(":/regle-obstacle.bmp"));
    Image("i2", Twips(1560, 3720, 1215, 1215), QStringLiteral(":/regle-depart.bmp"));
    Image("i3", Twips(4080, 3720, 1215, 1215), QStringLiteral(":/regle-arrivee.bmp"));
    Image("i4", Twips(7080, 3720, 1215, 1215), QStringLiteral(":/regle-porte.bmp"));
    Label("l1", Twips(120, 5040, 1215, 375), tr("Obstacle"), texte, gauche, true);
    Label("l2", Twips(1560, 5040, 2295, 1095),
          tr("Départ du liquide bleu (selon le niveau, il peut y avoir jusqu'à 4 liquides de couleurs "
             "différentes)"),
          texte, gauche, true);
    Label("l3", Twips(4080, 5040, 2775, 1095),
          tr("Arrivée du liquide bleu (pour gagner, chaque liquide doit être conduit vers son tuyau "
             "d'arrivée associé)"),
          texte, gauche, true);
    Label("l4", Twips(7080, 5040, 4575, 1095),
          tr("Porte pour le liquide bleu (si une porte est présente, le liquide de la couleur "
             "correspondante doit impérativement transiter par ce passage avant d'atteindre son tuyau "
             "d'arrivée)"),
          texte, gauche, true);
    Label("R3", Twips(240, 6360, 11655, 3015), TexteR3(), texte, gauche, false);
}

} // namespace canalisor::ui
