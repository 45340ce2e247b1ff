// A scripted player: finds a path for every liquid from its departure (through its gate
// where the level has one) to its arrival, lays the pipes in the order the queue hands them
// out, dumping the ones it cannot use on a spare cell. It knows the rules as a player does,
// from the tables of the tests' Regles.h, and reads only the board.
#pragma once

#include <algorithm>
#include <map>

#include "Jeu.h"
#include "Regles.h"

namespace canalisor::test {

// The pipe open on exactly these two sides (a straight pipe for two opposite sides).
inline std::int16_t TuyauEntre(Sens a, Sens b) {
    for (const RegleDePiece& p : Pieces)
        if (p.tuyau && p.code != Croix && Ouvert(p.code, a) && Ouvert(p.code, b))
            return p.code;
    return Vide;
}

class JoueurScripte {
  public:
    explicit JoueurScripte(Jeu& jeu) : jeu_(jeu) {}

    // Plans every liquid of the level on the current board; false when one has no path.
    bool Planifier() {
        plan_.clear();
        const int niveau = jeu_.Etat().Niveau;
        std::map<int, int> ou; // piece code -> the cell that shows it
        for (int i = 0; i < CasesDuPlateau; ++i)
            ou[Case(i).Piece] = i;
        const auto cellule = [&](int code) { return ou.contains(code) ? ou[code] : -1; };
        bool tout = true;
        for (const RegleDeLiquide& l : Liquides) {
            if (niveau < l.premierNiveau)
                continue;
            const bool porte = NiveauAPorte(niveau, l);
            // Out of the departure to the right; through the gate, the liquid goes on the way it came in.
            const auto sortie =
                Chemin(cellule(l.depart), Sens::Droite, cellule(porte ? l.porte : l.arrivee), porte);
            const bool trouve =
                sortie && (!porte || Chemin(cellule(l.porte), *sortie, cellule(l.arrivee), false));
            tout = trouve && tout;
        }
        return tout;
    }

    // Lays pipes until every planned cell holds a pipe that fits; returns the clicks made.
    int Poser(int clicsMax = 20000) {
        int clics = 0;
        for (; !PlanEnPlace() && clics < clicsMax; ++clics) {
            const int cible = CibleDuTuyauEnMain();
            if (cible < 0)
                break;
            jeu_.PoserTuyau(cible);
        }
        return clics;
    }

    bool PlanEnPlace() const {
        return std::ranges::all_of(plan_,
                                   [&](const auto& e) { return Convient(e.second, Case(e.first).Piece); });
    }

    // Planned cell -> the pipe codes that fit there.
    const std::map<int, std::vector<int>>& Plan() const { return plan_; }

  private:
    // How the search reached a cell.
    struct Venue {
        int depuis; // -1 for the first cell
        Sens sens;  // the move it was entered by
    };

    static bool Convient(const std::vector<int>& codes, int code) {
        return std::ranges::count(codes, code) > 0;
    }

    // A planned cell that wants the pipe in hand, else the first spare cell, empty or holding a
    // dumped pipe; -1 when there is none.
    int CibleDuTuyauEnMain() const {
        const int enMain = jeu_.Etat().Tuyau1;
        for (const auto& [i, codes] : plan_)
            if (!Convient(codes, Case(i).Piece) && Case(i).Remplissage.empty() && Convient(codes, enMain))
                return i;
        for (int i = 0; i < CasesDuPlateau; ++i) {
            const int code = Case(i).Piece;
            if (!plan_.contains(i) && (code == Vide || Piece(code).tuyau) && Case(i).Remplissage.empty())
                return i;
        }
        return -1;
    }

    // Breadth-first search from the cell one move `sens` from the piece at `ancre`, to the cell `but`,
    // which must be entered horizontally (a gate) or moving right (an arrival). Returns the move
    // into `but`, or nothing. The way back needs no check: the cell behind is a visited one, or the
    // anchored piece the search starts from.
    std::optional<Sens> Chemin(int ancre, Sens sens, int but, bool butHorizontal) {
        const std::optional<int> depuis = ancre < 0 ? std::nullopt : CaseVers(ancre, sens);
        if (!depuis || !CaseLibre(*depuis) || but < 0)
            return std::nullopt;
        std::map<int, Venue> venue{{*depuis, {-1, sens}}};
        std::vector<int> file{*depuis};
        for (std::size_t k = 0; k < file.size(); ++k)
            for (Sens sortie : {Sens::Droite, Sens::Bas, Sens::Haut, Sens::Gauche}) {
                const std::optional<int> suivant = CaseVers(file[k], sortie);
                if (!suivant)
                    continue;
                if (*suivant == but &&
                    (sortie == Sens::Droite || (butHorizontal && sortie == Sens::Gauche))) {
                    Tracer(venue, file[k], sortie);
                    return sortie;
                }
                if (CaseLibre(*suivant) && venue.try_emplace(*suivant, Venue{file[k], sortie}).second)
                    file.push_back(*suivant);
            }
        return std::nullopt;
    }

    // Plans the path back from cell n, left by the move `sortie`: each cell's exit is the move
    // its successor was entered by.
    void Tracer(std::map<int, Venue>& venue, int n, Sens sortie) {
        while (n >= 0) {
            const Sens entree = venue[n].sens;
            // Entered moving `entree`, the liquid comes in by the opposite side.
            const std::int16_t tuyau = TuyauEntre(Oppose(entree), sortie);
            plan_[n] = entree == sortie ? std::vector<int>{tuyau, Croix} : std::vector<int>{tuyau};
            sortie = entree;
            n = venue[n].depuis;
        }
    }

    const Cellule& Case(int i) const { return jeu_.Cellules()[static_cast<std::size_t>(i)]; }
    bool CaseLibre(int i) const { return Case(i).Piece == Vide && !plan_.contains(i); }
    Jeu& jeu_;
    std::map<int, std::vector<int>> plan_;
};

} // namespace canalisor::test
