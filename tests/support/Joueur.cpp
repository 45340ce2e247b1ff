#include "Joueur.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace canalisor::test {

namespace {

// The first level of each liquid (b r v j), and per level the liquids that must pass their gate.
constexpr std::array<int, 4> Premiers{1, 3, 6, 10};
constexpr std::array<std::string_view, 16> Portes{"",   "",    "b", "",  "b",  "br",  "",     "b",
                                                  "br", "brv", "",  "b", "br", "brv", "brvj", "brvj"};

// Moves, in the order the search tries them; a side of a cell is named by the move out through it.
enum Sens { Droite, Bas, Haut, Gauche };
constexpr int Opposee(int s) {
    return 3 - s;
}
// The cell one move away, or -1 past the board's edge.
int Voisine(int i, int sens) {
    const int j = i + std::array{1, 15, -15, -1}[static_cast<std::size_t>(sens)];
    const bool horizontal = sens == Droite || sens == Gauche;
    return j < 0 || j >= 120 || (horizontal && j / 15 != i / 15) ? -1 : j;
}

// The pipes 2 to 7 by the two sides they join.
constexpr std::array<std::array<int, 2>, 6> Cotes{
    {{Gauche, Droite}, {Haut, Bas}, {Droite, Bas}, {Gauche, Bas}, {Gauche, Haut}, {Droite, Haut}}};

// The pipes that take a liquid moving `sens` on out moving `sortie`; a cross only straight on.
std::vector<int> PipesPour(int sens, int sortie) {
    std::vector<int> codes;
    for (int k = 0; k < 6; ++k) {
        const auto [a, b] = Cotes[static_cast<std::size_t>(k)];
        if ((a == Opposee(sens) && b == sortie) || (b == Opposee(sens) && a == sortie))
            codes.push_back(k + 2);
    }
    if (sens == sortie)
        codes.push_back(8);
    return codes;
}

bool Contient(const std::vector<int>& codes, int code) {
    return std::ranges::find(codes, code) != codes.end();
}

const Cellule& Case(const Jeu& jeu, int i) {
    return jeu.Cellules()[static_cast<std::size_t>(i)];
}

// The cell that shows this piece code, or -1.
int Trouver(const Jeu& jeu, int code) {
    for (int i = 0; i < 120; ++i)
        if (Case(jeu, i).Tag == code)
            return i;
    return -1;
}

} // namespace

bool JoueurScripte::CaseLibre(int i) const {
    return i >= 0 && Case(jeu_, i).Tag == 0 && !plan_.contains(i);
}

// Breadth-first search from cell `depuis`, entered moving `sens`, to the cell `but`, which must
// be entered horizontally (a gate; `*sortieBut` receives the move out of it) or moving right (an
// arrival). The way back needs no check: the cell behind is a visited one, or the anchored
// piece the search starts from.
bool JoueurScripte::Chemin(int depuis, int sens, int but, bool butHorizontal, int* sortieBut) {
    if (!CaseLibre(depuis) || but < 0)
        return false;
    // Each cell reached: the one it was reached from, and the move it was entered by.
    std::map<int, std::pair<int, int>> venue{{depuis, {-1, sens}}};
    std::vector<int> file{depuis};
    for (std::size_t k = 0; k < file.size(); ++k) {
        for (int sortie : {Droite, Bas, Haut, Gauche}) {
            const int suivant = Voisine(file[k], sortie);
            if (suivant == but && (sortie == Droite || (butHorizontal && sortie == Gauche))) {
                if (sortieBut)
                    *sortieBut = sortie;
                // Each cell's exit is the move its successor was entered by.
                for (int n = file[k]; n >= 0; n = venue[n].first) {
                    plan_[n] = PipesPour(venue[n].second, sortie);
                    sortie = venue[n].second;
                }
                return true;
            }
            if (CaseLibre(suivant) && venue.try_emplace(suivant, file[k], sortie).second)
                file.push_back(suivant);
        }
    }
    return false;
}

bool JoueurScripte::Planifier() {
    plan_.clear();
    const int niveau = std::clamp<int>(jeu_.Etat().Niveau, 0, 15);
    bool tout = true;
    for (std::size_t k = 0; k < 4 && niveau >= Premiers[k]; ++k) {
        // Departure, arrival and gate of the k-th liquid: 9, 10, 11 for blue, then 3 more a colour.
        const int code = 9 + 3 * static_cast<int>(k);
        const int depart = Trouver(jeu_, code), arrivee = Trouver(jeu_, code + 1);
        const bool porte = Portes[static_cast<std::size_t>(niveau)].find("brvj"[k]) != std::string_view::npos;
        const int passage = porte ? Trouver(jeu_, code + 2) : -1;
        int sortie = Droite;
        const bool trouve =
            depart >= 0 && Chemin(Voisine(depart, Droite), Droite, porte ? passage : arrivee, porte, &sortie);
        // Through the gate, the liquid goes on the way it came in.
        tout =
            trouve && (!porte || Chemin(Voisine(passage, sortie), sortie, arrivee, false, nullptr)) && tout;
    }
    return tout;
}

bool JoueurScripte::PlanEnPlace() const {
    return std::ranges::all_of(
        plan_, [&](const auto& entree) { return Contient(entree.second, Case(jeu_, entree.first).Tag); });
}

int JoueurScripte::Poser(int clicsMax) {
    int clics = 0;
    for (; !PlanEnPlace() && clics < clicsMax; ++clics) {
        const auto voulue = std::ranges::find_if(plan_, [&](const auto& entree) {
            const Cellule& c = Case(jeu_, entree.first);
            return !Contient(entree.second, c.Tag) && c.DataField.empty() &&
                   Contient(entree.second, jeu_.Etat().Tuyau1);
        });
        int cible = voulue != plan_.end() ? voulue->first : -1;
        // A pipe the plan has no use for goes on the first spare cell, empty or holding a dumped pipe.
        for (int i = 0; cible < 0 && i < 120; ++i) {
            const Cellule& c = Case(jeu_, i);
            if (!plan_.contains(i) && c.Tag <= 8 && c.Tag != 1 && c.DataField.empty())
                cible = i;
        }
        if (cible < 0)
            break;
        jeu_.Grille_Click(cible);
    }
    return clics;
}

int JoueurScripte::JouerNiveau(const std::function<void()>& apresEvenement) {
    const std::function<void()> apres = apresEvenement ? apresEvenement : [] {};
    Planifier();
    Poser();
    apres();
    const int niveau = jeu_.Etat().Niveau, essais = jeu_.Etat().Essais;
    int tics = 0;
    for (; jeu_.Affichage().Timer1Actif && jeu_.Etat().Niveau == niveau && jeu_.Etat().Essais == essais;
         ++tics) {
        jeu_.Timer1_Timer();
        apres();
    }
    return tics;
}

} // namespace canalisor::test
