#include "Jeu.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "Classement.h"
#include "Placement.h"

namespace canalisor {

namespace {

constexpr std::array<Reglage, 3> Reglages{{{80, 10, 1, 2}, {60, 10, 1, 2}, {40, 5, 1, 3}}};

// The pieces of each level in laying order: D departure, A arrival, P gate, followed by the
// colour letter, and O obstacle.
constexpr std::array<const char*, 15> Niveaux{
    "Db Ab O O O",
    "Db Ab Pb O O O O",
    "Db Ab Dr Ar O O O O O",
    "Db Ab Pb Dr Ar O O O O O O",
    "Db Ab Pb Dr Ar Pr O O O O O O O",
    "Db Ab Dr Ar Dv Av O O O",
    "Db Ab Dr Ar Dv Av Pb O O O O",
    "Db Ab Dr Ar Dv Av Pb Pr O O O O O",
    "Db Ab Dr Ar Dv Av Pb Pr Pv O O O O O O",
    "Db Ab Dr Ar Dv Av Dj Aj O O",
    "Db Ab Pb Dr Ar Dv Av Dj Aj O O",
    "Db Ab Pb Dr Ar Pr Dv Av Dj Aj O O",
    "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj O O",
    "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj Pj O O",
    "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj Pj O O O O",
};

Couleur CouleurDeLettre(char lettre) {
    for (Couleur c : Couleurs)
        if (Lettre(c) == lettre)
            return c;
    return Couleur::Bleu;
}

std::string Texte(std::int32_t n) {
    return std::to_string(n);
}

bool Contient(const std::string& texte, char canal, char lettre) {
    const char partie[] = {canal, lettre, '\0'};
    return texte.find(partie) != std::string::npos;
}

// The side the liquid came in by, read from the cell it came from.
std::optional<Direction> CoteEntree(int p, int q) {
    if (q == p - 1 && MemeLigne(q, p))
        return Direction::Gauche;
    if (q == p + 1 && MemeLigne(q, p))
        return Direction::Droite;
    if (q == p - Colonnes)
        return Direction::Haut;
    if (q == p + Colonnes)
        return Direction::Bas;
    return std::nullopt;
}

// Where a liquid that came in by side `entree` leaves a piece: by its other open side, or
// straight on through a cross, whose two channels do not meet. Nothing when the piece is not
// open on that side.
std::optional<Direction> Sortie(int code, Direction entree) {
    const std::uint8_t ouvertes = Ouvertures(code);
    if ((ouvertes & CoteVers(entree)) == 0)
        return std::nullopt;
    if (code == Croix)
        return Opposee(entree);
    for (Direction d : {Direction::Droite, Direction::Gauche, Direction::Bas, Direction::Haut})
        if (d != entree && (ouvertes & CoteVers(d)) != 0)
            return d;
    return std::nullopt;
}

// Whether the cell ahead takes the liquid coming in that direction. Leaving a departure or
// a gate, the liquid may only enter a pipe.
bool Accepte(const Cellule& t, Direction d, const DescriptionCouleur& couleur, bool depuisAncre) {
    const bool vide = t.Remplissage.empty();
    if (t.Piece == Croix) {
        const bool horizontal = d == Direction::Droite || d == Direction::Gauche;
        return t.Remplissage.find(horizontal ? 'H' : 'V') == std::string::npos;
    }
    if (!vide)
        return false;
    switch (d) {
    case Direction::Droite:
        return t.Piece == DroitH || t.Piece == CoudeGB || t.Piece == CoudeGH ||
               (!depuisAncre && (t.Piece == couleur.Arrivee || t.Piece == couleur.Porte));
    case Direction::Gauche:
        return t.Piece == DroitH || t.Piece == CoudeDB || t.Piece == CoudeDH ||
               (!depuisAncre && t.Piece == couleur.Porte);
    case Direction::Bas:
        return t.Piece == DroitV || t.Piece == CoudeGH || t.Piece == CoudeDH;
    case Direction::Haut:
        return t.Piece == DroitV || t.Piece == CoudeDB || t.Piece == CoudeGB;
    }
    return false;
}

} // namespace

const Reglage& ReglageDifficulte(int difficulte) {
    return Reglages[static_cast<std::size_t>(std::clamp(difficulte, 1, 3) - 1)];
}

Jeu::Jeu(Hasard& hasard, Horloge& horloge, Dialogues& dialogues, Palmares& palmares)
    : hasard_(hasard), horloge_(horloge), dialogues_(dialogues), palmares_(palmares) {}

// ---- Start-up, commands -------------------------------------------------------------

bool Jeu::Demarrer(const std::string& chemin) {
    etat_.Chemin = chemin;
    if (!palmares_.Existe()) {
        dialogues_.Message(textes::FichierAbsent, Icone::Critique);
        return false;
    }
    // A file that vanished or cannot be read shows a record of 0; the game still plays.
    TableScores vide;
    for (EntreeScore& e : vide)
        e.Points = "0";
    const TableScores classe = ClasserScores(palmares_.Lire().value_or(vide));
    etat_.NomRecord = classe[0].Nom;
    etat_.ScoreRecord = classe[0].Points;
    AppliquerDifficulte(2);
    return true;
}

void Jeu::AppliquerDifficulte(int difficulte) {
    etat_.Difficulte = static_cast<std::int16_t>(std::clamp(difficulte, 1, 3));
    const Reglage& r = ReglageDifficulte(etat_.Difficulte);
    etat_.Delai = r.Delai;
    etat_.Cadence = r.Cadence;
    etat_.PointsAuto = r.PointsAuto;
    etat_.PointsVannesOuvertes = r.PointsVannesOuvertes;
}

void Jeu::ChoisirDifficulte(int difficulte) {
    if (etat_.ChoisirDifficultePossible)
        AppliquerDifficulte(difficulte);
}

void Jeu::NouvellePartie() {
    etat_.ChoisirDifficultePossible = false;
    etat_.Tuyau1 = TirerTuyau();
    etat_.Tuyau2 = TirerTuyau();
    etat_.Tuyau3 = TirerTuyau();
    ArreterHorloge();
    etat_.Niveau = 1;
    etat_.Essais = 2;
    etat_.Score = 0;
    NouveauNiveau();
}

void Jeu::ArreterPartie() {
    ArreterHorloge();
    etat_.ChoisirDifficultePossible = true;
    etat_.OuvrirVannesPossible = false;
    etat_.PausePossible = false;
    etat_.EnPause = false;
}

void Jeu::BasculerPause() {
    if (!etat_.PausePossible)
        return;
    if (!etat_.EnPause) {
        ArreterHorloge();
        etat_.OuvrirVannesPossible = false;
        etat_.EnPause = true;
    } else {
        etat_.EnPause = false;
        DemarrerHorloge();
        etat_.OuvrirVannesPossible = true;
    }
}

void Jeu::OuvrirVannes() {
    if (!etat_.OuvrirVannesPossible)
        return;
    etat_.OuvrirVannesPossible = false;
    ArreterHorloge();
    etat_.Temps = 1;
    etat_.VannesOuvertes = true;
    DemarrerHorloge();
    etat_.PausePossible = false;
    etat_.EnPause = false;
}

void Jeu::PoserTuyau(int cellule) {
    if (cellule < 0 || cellule >= NombreCellules || !Case(cellule).Active)
        return;
    if (etat_.EnPause)
        return;
    Cellule& c = Case(cellule);
    if (!((c.Piece == Vide || EstTuyau(c.Piece)) && c.Remplissage.empty()))
        return;
    c.Piece = etat_.Tuyau1;
    if (EstTuyau(etat_.Tuyau1))
        c.Image = NomImage(etat_.Tuyau1);
    TuyauSuivant();
}

// ---- Pipe queue ---------------------------------------------------------------------

int Jeu::Tirer(int etendue) {
    // Some ways of making r in [0, 1) round up to 1.0; never let that reach the range's end.
    const double r = hasard_.Suivant();
    const int n = static_cast<int>(std::floor(r * etendue));
    return std::clamp(n, 0, etendue - 1);
}

std::int16_t Jeu::TirerTuyau() {
    return static_cast<std::int16_t>(Tirer(7) + 2);
}

void Jeu::TuyauSuivant() {
    etat_.Tuyau1 = etat_.Tuyau2;
    etat_.Tuyau2 = etat_.Tuyau3;
    etat_.Tuyau3 = TirerTuyau();
}

// ---- Level start --------------------------------------------------------------------

void Jeu::NouveauNiveau() {
    ViderGrille();
    PoserPieces();
    LancerLiquides();
    etat_.VannesOuvertes = false;
    etat_.OuvrirVannesPossible = true;
    etat_.PausePossible = true;
    etat_.EnPause = false;
    etat_.Temps = etat_.Delai;
    DemarrerHorloge();
}

void Jeu::ViderGrille() {
    for (Cellule& c : grille_) {
        c.Active = true;
        c.Image = NomImage(Vide);
        c.Piece = Vide;
        c.Remplissage.clear();
    }
}

// Lays the level's pieces in the table's order, each on a random cell where it may stand.
void Jeu::PoserPieces() {
    std::size_t obstacles = 0;
    std::string_view pieces = Niveaux[static_cast<std::size_t>(std::clamp<int>(etat_.Niveau, 1, 15) - 1)];
    while (!pieces.empty()) {
        const std::string_view piece = pieces.substr(0, pieces.find(' '));
        pieces.remove_prefix(std::min(pieces.size(), piece.size() + 1));
        const Couleur couleur = piece.size() > 1 ? CouleurDeLettre(piece[1]) : Couleur::Bleu;
        const DescriptionCouleur& d = Description(couleur);
        Liquide& liquide = etat_[couleur];
        bool (*malPlace)(const Grille&, int) = MalPlaceObstacle;
        std::int16_t code = Obstacle;
        std::int16_t* cible = nullptr;
        switch (piece[0]) {
        case 'D':
            malPlace = MalPlaceDepart;
            code = d.Depart;
            cible = &liquide.Depart;
            break;
        case 'A':
            malPlace = MalPlaceArrivee;
            code = d.Arrivee;
            cible = &liquide.Arrivee;
            break;
        case 'P':
            malPlace = MalPlacePorte;
            code = d.Porte;
            cible = &liquide.Porte;
            break;
        default:
            cible = &etat_.Obstacles[obstacles++];
            break;
        }
        int c = Tirer(NombreCellules);
        while (malPlace(grille_, c))
            c = Tirer(NombreCellules);
        *cible = static_cast<std::int16_t>(c);
        Case(c).Piece = code;
        Case(c).Image = NomImage(code);
    }
}

void Jeu::LancerLiquides() {
    for (Couleur c : Couleurs) {
        if (!EstActive(c, etat_.Niveau))
            continue;
        Liquide& l = etat_[c];
        l.Position = l.Depart;
        l.Precedent = l.Depart;
        l.Valide = true;
        l.Arrive = false;
    }
}

// ---- Flow ---------------------------------------------------------------------------

void Jeu::AjouterPoints(std::int32_t points) {
    const std::int64_t somme = std::int64_t{etat_.Score} + points;
    etat_.Score = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        somme, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void Jeu::AjouterPointsCase() {
    AjouterPoints(etat_.VannesOuvertes ? etat_.PointsVannesOuvertes : etat_.PointsAuto);
}

void Jeu::Ecoulement() {
    for (Couleur c : Couleurs)
        if (EstActive(c, etat_.Niveau))
            Ecouler(c);
}

void Jeu::Ecouler(Couleur couleur) {
    RemplirFront(couleur);
    if (etat_[couleur].Arrive)
        return;
    AjouterPointsCase();
    AvancerOuDeborder(couleur);
}

// 1. Fills the front, whatever side the liquid came in by.
void Jeu::RemplirFront(Couleur couleur) {
    const DescriptionCouleur& d = Description(couleur);
    Liquide& liquide = etat_[couleur];
    const int p = liquide.Position;
    const int q = liquide.Precedent;
    Cellule& front = Case(p);

    if (front.Piece >= DroitH && front.Piece <= CoudeDH) {
        front.Image = NomImageRemplie(front.Piece, couleur);
        front.Remplissage = "x";
    } else if (front.Piece == Croix) {
        RemplirCroix(front, couleur, (q == p + 1 || q == p - 1) && MemeLigne(q, p));
    } else if (front.Piece == d.Depart || front.Piece == d.Porte) {
        front.Image = NomImageRemplie(front.Piece, couleur);
        front.Remplissage = "x";
    } else if (front.Piece == d.Arrivee) {
        front.Image = NomImageRemplie(front.Piece, couleur);
        if (front.Remplissage.empty()) {
            front.Remplissage = "x";
            AjouterPointsCase();
            liquide.Arrive = true;
            if (APorte(couleur, etat_.Niveau) && Case(liquide.Porte).Remplissage.empty())
                liquide.Valide = false;
        }
    }
}

void Jeu::RemplirCroix(Cellule& front, Couleur couleur, bool horizontal) {
    const char lettre = Lettre(couleur);
    const char canal = horizontal ? 'H' : 'V';
    const char autreCanal = horizontal ? 'V' : 'H';
    // The other channel may already hold this colour or another one.
    std::optional<Couleur> autre;
    if (Contient(front.Remplissage, autreCanal, lettre))
        autre = couleur;
    else
        for (Couleur c : Couleurs)
            if (c != couleur && Contient(front.Remplissage, autreCanal, Lettre(c))) {
                autre = c;
                break;
            }
    const std::string partie{canal, lettre};
    if (autre) {
        front.Image = horizontal ? NomImageCroix(couleur, autre) : NomImageCroix(autre, couleur);
        front.Remplissage += partie;
    } else {
        front.Image = horizontal ? NomImageCroix(couleur, {}) : NomImageCroix({}, couleur);
        front.Remplissage = partie;
    }
}

// 2. Looks ahead: the cell beyond the exit must already take the liquid. 3. Moves on, or
// overflows.
void Jeu::AvancerOuDeborder(Couleur couleur) {
    const DescriptionCouleur& d = Description(couleur);
    Liquide& liquide = etat_[couleur];
    const int p = liquide.Position;
    const int q = liquide.Precedent;
    const Cellule& front = Case(p);

    std::optional<int> t;
    std::optional<Direction> sortie;
    bool depuisAncre = false;
    if (front.Piece == d.Depart) {
        t = p + 1; // a departure never stands in the last column
        sortie = Direction::Droite;
        depuisAncre = true;
    } else if (EstTuyau(front.Piece) || front.Piece == d.Porte) {
        depuisAncre = front.Piece == d.Porte;
        // A piece that does not fit the side it was entered by, or whose exit leaves the board
        // or the row, overflows.
        const auto entree = CoteEntree(p, q);
        sortie = entree ? Sortie(front.Piece, *entree) : std::nullopt;
        t = sortie ? Voisin(p, *sortie) : std::nullopt;
        if (!t) {
            liquide.Valide = false;
            return;
        }
    } else {
        return;
    }

    if (!Accepte(Case(*t), *sortie, d, depuisAncre)) {
        liquide.Valide = false;
    } else if (liquide.Valide) {
        liquide.Precedent = static_cast<std::int16_t>(p);
        liquide.Position = static_cast<std::int16_t>(*t);
    }
}

// ---- Clock --------------------------------------------------------------------------

void Jeu::DemarrerHorloge() {
    etat_.HorlogeEnMarche = true;
    horloge_.Demarrer();
}

void Jeu::ArreterHorloge() {
    etat_.HorlogeEnMarche = false;
    horloge_.Arreter();
}

bool Jeu::EssaiEchoue() const {
    for (Couleur c : Couleurs)
        if (EstActive(c, etat_.Niveau) && !etat_[c].Valide)
            return true;
    return false;
}

bool Jeu::NiveauReussi() const {
    for (Couleur c : Couleurs)
        if (EstActive(c, etat_.Niveau) && !etat_[c].Arrive)
            return false;
    return true;
}

void Jeu::Tic() {
    if (!etat_.HorlogeEnMarche)
        return;
    if (etat_.Temps > 1) {
        --etat_.Temps;
        return;
    }
    ArreterHorloge();
    Ecoulement();
    etat_.Temps = etat_.VannesOuvertes ? 1 : etat_.Cadence;
    if (EssaiEchoue())
        EssaiPerdu();
    else if (NiveauReussi())
        NiveauPasse();
    else
        DemarrerHorloge();
}

void Jeu::NiveauPasse() {
    ArreterHorloge();
    dialogues_.Message(textes::NiveauPasse, Icone::Aucune);
    etat_.Niveau = static_cast<std::int16_t>(etat_.Niveau + 1);
    AjouterPoints(PointsNiveau);
    if (etat_.Niveau == 16) {
        AjouterPoints(PointsDernierNiveau);
        etat_.Essais = static_cast<std::int16_t>(
            std::min<int>(etat_.Essais + 1, std::numeric_limits<std::int16_t>::max()));
        etat_.Niveau = 1;
        AppliquerDifficulte(std::min(etat_.Difficulte + 1, 3));
    }
    NouveauNiveau();
}

void Jeu::EssaiPerdu() {
    ArreterHorloge();
    etat_.Essais = static_cast<std::int16_t>(etat_.Essais - 1);
    dialogues_.Message(textes::EssaiPerdu, Icone::Critique);
    if (etat_.Essais >= 0)
        NouveauNiveau();
    else
        FinDePartie();
}

void Jeu::FinDePartie() {
    // A finished game cannot be resumed: neither button may restart the clock over it.
    etat_.PausePossible = false;
    etat_.OuvrirVannesPossible = false;
    const auto lu = palmares_.Lire();
    if (!lu) {
        dialogues_.Message(textes::ScoresIllisibles, Icone::Critique);
        return;
    }
    if (!PlaceScore(ClasserScores(*lu), etat_.Score))
        return;
    std::string nom;
    while (nom.empty())
        nom = dialogues_.Saisir(textes::DemandeNom);
    // A line end inside a name would split its entry across two lines of the file.
    std::replace_if(
        nom.begin(), nom.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    // The file is read again once the name is typed, under the lock: another copy of the game
    // may have recorded a score while this one waited for the player, and its entry must stay.
    std::optional<int> place;
    const bool ecrit =
        palmares_.MettreAJour([&](const TableScores& ordreFichier) -> std::optional<TableScores> {
            TableScores ecrite = ClasserScores(ordreFichier);
            place = InsererScore(ecrite, nom, etat_.Score);
            if (!place) // pushed out meanwhile by better scores: nothing to record
                return std::nullopt;
            return ecrite;
        });
    if (!ecrit) {
        dialogues_.Message(textes::ScoresNonEcrits, Icone::Critique);
        return;
    }
    if (place == 0) {
        etat_.NomRecord = nom;
        etat_.ScoreRecord = Texte(etat_.Score);
    }
}

} // namespace canalisor
