// A scripted player: finds a path for every liquid from its departure (through its gate
// where the level has one) to its arrival, lays the pipes in the order the queue hands them
// out, dumping the ones it cannot use on a spare cell. It knows the rules as a player does,
// from its own tables, and reads only the board: a wrong rule in the game makes it fail
// rather than agree.
#pragma once

#include <algorithm>
#include <map>

#include "Jeu.h"

namespace canalisor::test {

class JoueurScripte {
  public:
    explicit JoueurScripte(Jeu& jeu) : jeu_(jeu) {}

    // Plans every liquid of the level on the current board; false when one has no path.
    bool Planifier() {
        plan_.clear();
        const int niveau = std::clamp<int>(jeu_.Etat().Niveau, 0, 15);
        std::array<int, 21> ou; // the cell that shows each piece, or -1
        ou.fill(-1);
        for (int i = 0; i < NombreCellules; ++i)
            ou[static_cast<std::size_t>(Case(i).Piece)] = i;
        bool tout = true;
        const std::string_view liquides = Liquides[static_cast<std::size_t>(niveau)];
        for (std::size_t k = 0; k < liquides.size(); ++k) {
            // Departure, arrival and gate of the k-th liquid: 9, 10, 11 for blue, then 3 more a colour.
            const int depart = ou[9 + 3 * k], arrivee = ou[10 + 3 * k], cellulePorte = ou[11 + 3 * k];
            const bool porte = liquides[k] == 'P';
            // Through the gate, the liquid goes on the way it came in.
            const int sortie = Chemin(depart, Droite, porte ? cellulePorte : arrivee, porte);
            tout = sortie >= 0 && (!porte || Chemin(cellulePorte, sortie, arrivee, false) >= 0) && tout;
        }
        return tout;
    }

    // Lays pipes until every planned cell holds a pipe that fits; returns the clicks made.
    int Poser(int clicsMax = 20000) {
        int clics = 0;
        for (; !PlanEnPlace() && clics < clicsMax; ++clics) {
            const auto voulue = std::ranges::find_if(plan_, [&](const auto& e) {
                return !std::ranges::count(e.second, Case(e.first).Piece) &&
                       Case(e.first).Remplissage.empty() && std::ranges::count(e.second, jeu_.Etat().Tuyau1);
            });
            int cible = voulue != plan_.end() ? voulue->first : -1;
            // A pipe the plan has no use for goes on the first spare cell, empty or holding a dumped pipe.
            for (int i = 0; cible < 0 && i < 120; ++i)
                if (!plan_.contains(i) && Case(i).Piece <= 8 && Case(i).Piece != 1 &&
                    Case(i).Remplissage.empty())
                    cible = i;
            if (cible < 0)
                break;
            jeu_.PoserTuyau(cible);
        }
        return clics;
    }

    bool PlanEnPlace() const {
        return std::ranges::all_of(
            plan_, [&](const auto& e) { return std::ranges::count(e.second, Case(e.first).Piece); });
    }

    // Planned cell -> the pipe codes that fit there.
    const std::map<int, std::vector<int>>& Plan() const { return plan_; }

  private:
    // Per level, the liquids that run, in the order blue, red, green, yellow: P when it must pass its
    // gate, L when it need not.
    static constexpr std::array<std::string_view, 16> Liquides{"",     "L",    "P",    "LL",  "PL",   "PP",
                                                               "LLL",  "PLL",  "PPL",  "PPP", "LLLL", "PLLL",
                                                               "PPLL", "PPPL", "PPPP", "PPPP"};

    // Moves, in the order the search tries them; a side of a cell is named by the move out through it.
    enum Sens { Droite, Bas, Haut, Gauche };
    // The pipe that takes a liquid moving [sens] on out moving [sortie]; a cross also goes straight on.
    static constexpr int Tuyaux[4][4]{{2, 5, 6, 0}, {7, 3, 0, 6}, {4, 0, 3, 5}, {0, 4, 7, 2}};

    // The cell one move away, or -1 past the board's edge.
    static int Voisine(int i, int sens) {
        const int j = i + std::array{1, 15, -15, -1}[static_cast<std::size_t>(sens)];
        return j < 0 || j >= 120 || ((sens == Droite || sens == Gauche) && j / 15 != i / 15) ? -1 : j;
    }

    // Breadth-first search from the cell one move `sens` from the piece at `ancre`, to the cell `but`,
    // which must be entered horizontally (a gate) or moving right (an arrival). Returns the move
    // into `but`, or -1. The way back needs no check: the cell behind is a visited one, or the
    // anchored piece the search starts from.
    int Chemin(int ancre, int sens, int but, bool butHorizontal) {
        const int depuis = ancre < 0 ? -1 : Voisine(ancre, sens);
        if (!CaseLibre(depuis) || but < 0)
            return -1;
        // Each cell reached: the one it was reached from, and the move it was entered by.
        std::map<int, std::pair<int, int>> venue{{depuis, {-1, sens}}};
        std::vector<int> file{depuis};
        for (std::size_t k = 0; k < file.size(); ++k)
            for (int sortie : {Droite, Bas, Haut, Gauche}) {
                const int suivant = Voisine(file[k], sortie);
                if (suivant == but && (sortie == Droite || (butHorizontal && sortie == Gauche))) {
                    // Each cell's exit is the move its successor was entered by.
                    for (int n = file[k], s = sortie; n >= 0; s = venue[n].second, n = venue[n].first)
                        plan_[n] = venue[n].second == s ? std::vector{Tuyaux[s][s], 8}
                                                        : std::vector{Tuyaux[venue[n].second][s]};
                    return sortie;
                }
                if (CaseLibre(suivant) && venue.try_emplace(suivant, file[k], sortie).second)
                    file.push_back(suivant);
            }
        return -1;
    }

    const Cellule& Case(int i) const { return jeu_.Cellules()[static_cast<std::size_t>(i)]; }
    bool CaseLibre(int i) const { return i >= 0 && Case(i).Piece == 0 && !plan_.contains(i); }
    Jeu& jeu_;
    std::map<int, std::vector<int>> plan_;
};

} // namespace canalisor::test
