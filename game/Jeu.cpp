#include "Jeu.h"

#include <algorithm>
#include <charconv>
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
    const bool vide = t.DataField.empty();
    if (t.Tag == Croix) {
        const bool horizontal = d == Direction::Droite || d == Direction::Gauche;
        return t.DataField.find(horizontal ? 'H' : 'V') == std::string::npos;
    }
    if (!vide)
        return false;
    switch (d) {
    case Direction::Droite:
        return t.Tag == DroitH || t.Tag == CoudeGB || t.Tag == CoudeGH ||
               (!depuisAncre && (t.Tag == couleur.Arrivee || t.Tag == couleur.Passage));
    case Direction::Gauche:
        return t.Tag == DroitH || t.Tag == CoudeDB || t.Tag == CoudeDH ||
               (!depuisAncre && t.Tag == couleur.Passage);
    case Direction::Bas:
        return t.Tag == DroitV || t.Tag == CoudeGH || t.Tag == CoudeDH;
    case Direction::Haut:
        return t.Tag == DroitV || t.Tag == CoudeDB || t.Tag == CoudeGB;
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

bool Jeu::Form_Load(const std::string& chemin) {
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
    ecran_.LabelRecord = etat_.ScoreRecord;
    ecran_.InfoBulleRecord = etat_.NomRecord;
    AppliquerDifficulte(2);
    return true;
}

void Jeu::AppliquerDifficulte(int difficulte) {
    etat_.Difficulte = static_cast<std::int16_t>(std::clamp(difficulte, 1, 3));
    ecran_.LabelDiff = Texte(etat_.Difficulte);
    const Reglage& r = ReglageDifficulte(etat_.Difficulte);
    etat_.Delai = r.Delai;
    etat_.Cadence = r.Cadence;
    etat_.PointsAuto = r.PointsAuto;
    etat_.PointsMax = r.PointsMax;
    ecran_.DifficulteCochee = etat_.Difficulte;
}

void Jeu::ChoisirDifficulte(int difficulte) {
    if (ecran_.MenuDifficulteActif)
        AppliquerDifficulte(difficulte);
}

void Jeu::menuJouer_Click() {
    ecran_.MenuDifficulteActif = false;
    etat_.Tuyau1 = TirerTuyau();
    etat_.Tuyau2 = TirerTuyau();
    etat_.Tuyau3 = TirerTuyau();
    AfficherTuyaux();
    ArreterHorloge();
    ecran_.LabelTemps.clear();
    etat_.Niveau = 1;
    etat_.Essais = 2;
    ecran_.LabelEssais = Texte(etat_.Essais);
    etat_.Score = 0;
    ecran_.LabelScore = Texte(etat_.Score);
    NouveauNiveau();
}

void Jeu::menuArreter_Click() {
    ArreterHorloge();
    ecran_.MenuDifficulteActif = true;
    ecran_.MaxiActif = false;
    ecran_.PauseActif = false;
    ecran_.PauseLegende = "Pause";
}

void Jeu::Pause_Click() {
    if (!ecran_.PauseActif)
        return;
    if (ecran_.PauseLegende.find("Pause") != std::string::npos) {
        ArreterHorloge();
        ecran_.MaxiActif = false;
        ecran_.PauseLegende = "Retour";
    } else {
        ecran_.PauseLegende = "Pause";
        DemarrerHorloge();
        ecran_.MaxiActif = true;
    }
}

void Jeu::Maxi_Click() {
    if (!ecran_.MaxiActif)
        return;
    ecran_.MaxiActif = false;
    ArreterHorloge();
    ecran_.LabelTemps = "1";
    etat_.VannesMax = true;
    DemarrerHorloge();
    ecran_.PauseActif = false;
    ecran_.PauseLegende = "Pause";
}

void Jeu::Grille_Click(int index) {
    if (index < 0 || index >= NombreCellules || !Case(index).Active)
        return;
    if (ecran_.PauseLegende.find("Pause") == std::string::npos)
        return;
    Cellule& c = Case(index);
    if (!((c.Tag == Vide || EstTuyau(c.Tag)) && c.DataField.empty()))
        return;
    c.Tag = etat_.Tuyau1;
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
    AfficherTuyaux();
}

void Jeu::AfficherTuyaux() {
    const std::array<std::int16_t, 3> tuyaux{etat_.Tuyau1, etat_.Tuyau2, etat_.Tuyau3};
    for (std::size_t i = 0; i < tuyaux.size(); ++i)
        if (EstTuyau(tuyaux[i]))
            ecran_.BlocSuivant[i] = NomImage(tuyaux[i]);
}

// ---- Level start --------------------------------------------------------------------

void Jeu::NouveauNiveau() {
    ecran_.LabelNiveau = Texte(etat_.Niveau);
    for (Cellule& c : grille_) {
        c.Active = true;
        c.Image = NomImage(Vide);
        c.Tag = Vide;
        c.DataField.clear();
    }
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
            malPlace = MalPlaceDepart, code = d.Depart, cible = &liquide.Depart;
            break;
        case 'A':
            malPlace = MalPlaceArrivee, code = d.Arrivee, cible = &liquide.Arrivee;
            break;
        case 'P':
            malPlace = MalPlacePassage, code = d.Passage, cible = &liquide.Passage;
            break;
        default:
            cible = &etat_.Obstacles[obstacles++];
            break;
        }
        int c = Tirer(NombreCellules);
        while (malPlace(grille_, c))
            c = Tirer(NombreCellules);
        *cible = static_cast<std::int16_t>(c);
        Case(c).Tag = code;
        Case(c).Image = NomImage(code);
    }
    for (Couleur c : Couleurs) {
        if (!EstActive(c, etat_.Niveau))
            continue;
        Liquide& l = etat_[c];
        l.Position = l.Depart;
        l.Precedent = l.Depart;
        l.Valide = true;
        l.Arrive = false;
    }
    etat_.VannesMax = false;
    ecran_.MaxiActif = true;
    ecran_.PauseActif = true;
    ecran_.PauseLegende = "Pause";
    ecran_.LabelTemps = Texte(etat_.Delai);
    DemarrerHorloge();
}

// ---- Flow ---------------------------------------------------------------------------

void Jeu::AjouterPoints(std::int32_t points) {
    const std::int64_t somme = std::int64_t{etat_.Score} + points;
    etat_.Score = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        somme, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    ecran_.LabelScore = Texte(etat_.Score);
}

void Jeu::AjouterPointsCase() {
    AjouterPoints(etat_.VannesMax ? etat_.PointsMax : etat_.PointsAuto);
}

void Jeu::Remplissage() {
    for (Couleur c : Couleurs)
        if (EstActive(c, etat_.Niveau))
            Remplissage(c);
}

void Jeu::Remplissage(Couleur couleur) {
    const DescriptionCouleur& d = Description(couleur);
    const char lettre = d.Lettre;
    Liquide& liquide = etat_[couleur];
    const int p = liquide.Position;
    const int q = liquide.Precedent;
    Cellule& front = Case(p);

    // 1. Fill the front, whatever side the liquid came in by.
    if (front.Tag >= DroitH && front.Tag <= CoudeDH) {
        front.Image = NomImageRemplie(front.Tag, couleur);
        front.DataField = "x";
    } else if (front.Tag == Croix) {
        const bool horizontal = (q == p + 1 || q == p - 1) && MemeLigne(q, p);
        const char canal = horizontal ? 'H' : 'V';
        const char autreCanal = horizontal ? 'V' : 'H';
        // The other channel may already hold this colour or another one.
        std::optional<Couleur> autre;
        if (Contient(front.DataField, autreCanal, lettre))
            autre = couleur;
        else
            for (Couleur c : Couleurs)
                if (c != couleur && Contient(front.DataField, autreCanal, Lettre(c))) {
                    autre = c;
                    break;
                }
        const std::string partie{canal, lettre};
        if (autre) {
            front.Image = horizontal ? NomImageCroix(couleur, autre) : NomImageCroix(autre, couleur);
            front.DataField += partie;
        } else {
            front.Image = horizontal ? NomImageCroix(couleur, {}) : NomImageCroix({}, couleur);
            front.DataField = partie;
        }
    } else if (front.Tag == d.Depart || front.Tag == d.Passage) {
        front.Image = NomImageRemplie(front.Tag, couleur);
        front.DataField = "x";
    } else if (front.Tag == d.Arrivee) {
        front.Image = NomImageRemplie(front.Tag, couleur);
        if (front.DataField.empty()) {
            front.DataField = "x";
            AjouterPointsCase();
            liquide.Arrive = true;
            if (APorte(couleur, etat_.Niveau) && Case(liquide.Passage).DataField.empty())
                liquide.Valide = false;
        }
    }
    if (liquide.Arrive)
        return;
    AjouterPointsCase();

    // 2. Look ahead: the cell beyond the exit must already take the liquid.
    std::optional<int> t;
    std::optional<Direction> sortie;
    bool depuisAncre = false;
    if (front.Tag == d.Depart) {
        t = p + 1; // a departure never stands in the last column
        sortie = Direction::Droite;
        depuisAncre = true;
    } else if (EstTuyau(front.Tag) || front.Tag == d.Passage) {
        depuisAncre = front.Tag == d.Passage;
        // A piece that does not fit the side it was entered by, or whose exit leaves the board
        // or the row, overflows.
        const auto entree = CoteEntree(p, q);
        sortie = entree ? Sortie(front.Tag, *entree) : std::nullopt;
        t = sortie ? Voisin(p, *sortie) : std::nullopt;
        if (!t) {
            liquide.Valide = false;
            return;
        }
    } else {
        return;
    }

    // 3. Move on, or overflow.
    if (!Accepte(Case(*t), *sortie, d, depuisAncre)) {
        liquide.Valide = false;
    } else if (liquide.Valide) {
        liquide.Precedent = static_cast<std::int16_t>(p);
        liquide.Position = static_cast<std::int16_t>(*t);
    }
}

// ---- Clock --------------------------------------------------------------------------

void Jeu::DemarrerHorloge() {
    ecran_.Timer1Actif = true;
    horloge_.Demarrer();
}

void Jeu::ArreterHorloge() {
    ecran_.Timer1Actif = false;
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

void Jeu::Timer1_Timer() {
    if (!ecran_.Timer1Actif)
        return;
    // The count is whatever the label shows; a label that holds no number counts as 0.
    int n = 0;
    const std::string& temps = ecran_.LabelTemps;
    std::from_chars(temps.data(), temps.data() + temps.size(), n);
    if (n > 1) {
        ecran_.LabelTemps = Texte(n - 1);
        return;
    }
    ArreterHorloge();
    Remplissage();
    ecran_.LabelTemps = etat_.VannesMax ? "1" : Texte(etat_.Cadence);
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
    AjouterPoints(100);
    if (etat_.Niveau == 16) {
        AjouterPoints(1000);
        etat_.Essais = static_cast<std::int16_t>(
            std::min<int>(etat_.Essais + 1, std::numeric_limits<std::int16_t>::max()));
        etat_.Niveau = 1;
        ecran_.LabelEssais = Texte(etat_.Essais);
        AppliquerDifficulte(std::min(etat_.Difficulte + 1, 3));
    }
    ecran_.LabelScore = Texte(etat_.Score);
    NouveauNiveau();
}

void Jeu::EssaiPerdu() {
    ArreterHorloge();
    etat_.Essais = static_cast<std::int16_t>(etat_.Essais - 1);
    ecran_.LabelEssais = Texte(std::max<int>(etat_.Essais, 0));
    dialogues_.Message(textes::EssaiPerdu, Icone::Critique);
    if (etat_.Essais >= 0)
        NouveauNiveau();
    else
        FinDePartie();
}

void Jeu::FinDePartie() {
    // A finished game cannot be resumed: neither button may restart the clock over it.
    ecran_.PauseActif = false;
    ecran_.MaxiActif = false;
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
        ecran_.LabelRecord = etat_.ScoreRecord;
        ecran_.InfoBulleRecord = etat_.NomRecord;
    }
}

} // namespace canalisor
