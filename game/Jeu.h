// The game for the whole run of the program: its state and its board. Each event of the
// player or of the clock is one method that runs to completion; the windows call it and then
// show what changed, made from the state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "Monde.h"
#include "Plateau.h"
#include "Traduction.h"

namespace canalisor {

// One liquid's cells on the current level and the state of its run.
struct Liquide {
    std::int16_t Position = 0;  // the cell that its next flow step fills
    std::int16_t Precedent = 0; // the cell it came from: gives the side it enters by
    std::int16_t Depart = 0;
    std::int16_t Arrivee = 0;
    std::int16_t Porte = 0; // written only on levels with this colour's gate
    bool Valide = false;    // false once it has overflowed or arrived without its gate
    bool Arrive = false;
};

struct EtatJeu {
    std::string Chemin; // the program's directory with a trailing separator
    std::string NomRecord;
    std::string ScoreRecord;
    std::int16_t Niveau = 0; // 0 until the first game starts: the counters show nothing
    std::int16_t Essais = 0; // -1 once the last try is lost
    // Wider than the historic 16 bits, and saturating, so a long game never wraps round.
    std::int32_t Score = 0;
    std::int16_t Tuyau1 = 0; // in hand
    std::int16_t Tuyau2 = 0;
    std::int16_t Tuyau3 = 0;
    std::array<Liquide, 4> Liquides{};
    std::array<std::int16_t, 7> Obstacles{};
    bool VannesOuvertes = false;
    std::int16_t Temps = 0; // the countdown: seconds to the next flow step
    bool EnPause = false;
    bool HorlogeEnMarche = false;
    // Which commands the player may give now.
    bool PausePossible = false;
    bool OuvrirVannesPossible = false;
    bool ChoisirDifficultePossible = true;
    std::int16_t Cadence = 0;
    std::int16_t Delai = 0;
    std::int16_t Difficulte = 0;
    std::int16_t PointsAuto = 0;           // a cell filled at the normal pace
    std::int16_t PointsVannesOuvertes = 0; // a cell filled with the valves open

    Liquide& operator[](Couleur c) { return Liquides[static_cast<std::size_t>(c)]; }
    const Liquide& operator[](Couleur c) const { return Liquides[static_cast<std::size_t>(c)]; }
};

struct Reglage {
    std::int16_t Delai;
    std::int16_t Cadence;
    std::int16_t PointsAuto;
    std::int16_t PointsVannesOuvertes;
};
const Reglage& ReglageDifficulte(int difficulte); // 1..3
// The points of a level passed, and those added once more for passing the last level.
inline constexpr std::int32_t PointsNiveau = 100;
inline constexpr std::int32_t PointsDernierNiveau = 1000;

namespace textes {
// The boxes of the game, as their French source; the windows translate them in the context
// "Jeu" when they show them.
inline constexpr const char* FichierAbsent =
    QT_TRANSLATE_NOOP("Jeu", "Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu.");
inline constexpr const char* NiveauPasse =
    QT_TRANSLATE_NOOP("Jeu", "Félicitations! Vous passez au niveau suivant.");
inline constexpr const char* EssaiPerdu = QT_TRANSLATE_NOOP("Jeu", "Dommage! Vous avez perdu.");
inline constexpr const char* DemandeNom =
    QT_TRANSLATE_NOOP("Jeu", "Bravo, vous avez battu le record!\nQuel est votre nom ?");
inline constexpr const char* ScoresIllisibles = QT_TRANSLATE_NOOP(
    "Jeu", "Votre score n'a pas pu être enregistré : le fichier canalisor.txt est introuvable ou illisible.");
inline constexpr const char* ScoresNonEcrits = QT_TRANSLATE_NOOP(
    "Jeu", "Votre score n'a pas pu être enregistré : le fichier canalisor.txt ne peut pas être écrit.");
} // namespace textes

class Jeu {
  public:
    Jeu(Hasard& hasard, Horloge& horloge, Dialogues& dialogues, Palmares& palmares);

    // Events. Each does nothing when its control could not have sent it (a disabled button,
    // a cell before the first level, a tick while the clock is stopped).
    bool Demarrer(const std::string& chemin); // false: the program must end
    void NouvellePartie();
    void ArreterPartie();
    void ChoisirDifficulte(int difficulte); // "Facile (1)", "Moyen (2)", "Difficile (3)"
    void BasculerPause();
    void OuvrirVannes();
    void PoserTuyau(int cellule);
    void Tic();

    const EtatJeu& Etat() const { return etat_; }
    const Grille& Cellules() const { return grille_; }
    // A game's whole state is open to the tests and the tools, which set up boards by hand and
    // then lay out a level or run one liquid's flow step on them.
    EtatJeu& Etat() { return etat_; }
    Grille& Cellules() { return grille_; }
    void NouveauNiveau();
    void Ecouler(Couleur couleur); // one flow step of one liquid

  private:
    int Tirer(int etendue); // floor(r x etendue), never etendue itself
    std::int16_t TirerTuyau();
    void TuyauSuivant();
    void AppliquerDifficulte(int difficulte);
    // The level layout.
    void ViderGrille();
    void PoserPieces();
    void LancerLiquides();
    // The flow step.
    void Ecoulement(); // one flow step of every active liquid
    void RemplirFront(Couleur couleur);
    void RemplirCroix(Cellule& front, Couleur couleur, bool horizontal);
    void AvancerOuDeborder(Couleur couleur);
    void AjouterPoints(std::int32_t points);
    void AjouterPointsCase();
    void DemarrerHorloge();
    void ArreterHorloge();
    void NiveauPasse();
    void EssaiPerdu();
    void FinDePartie();
    bool EssaiEchoue() const;
    bool NiveauReussi() const;
    Cellule& Case(int i) { return grille_[static_cast<std::size_t>(i)]; }

    Hasard& hasard_;
    Horloge& horloge_;
    Dialogues& dialogues_;
    Palmares& palmares_;
    EtatJeu etat_;
    Grille grille_;
};

} // namespace canalisor
