// A scripted player: finds a path for every liquid from its departure (through its gate
// where the level has one) to its arrival, lays the pipes in the order the queue hands them
// out, dumping the ones it cannot use on a spare cell. It knows the rules as a player does,
// from its own tables, and reads only the board: a wrong rule in the game makes it fail
// rather than agree.
#pragma once

#include <map>
#include <vector>

#include "Jeu.h"

namespace canalisor::test {

class JoueurScripte {
  public:
    explicit JoueurScripte(Jeu& jeu) : jeu_(jeu) {}

    // Plans every liquid of the level on the current board; false when one has no path.
    bool Planifier();
    // Lays pipes until every planned cell holds a pipe that fits; returns the clicks made.
    int Poser(int clicsMax = 20000);
    bool PlanEnPlace() const;
    // Planned cell -> the pipe codes that fit there.
    const std::map<int, std::vector<int>>& Plan() const { return plan_; }

  private:
    bool Chemin(int depuis, int sens, int but, bool butHorizontal, int* sortieBut);
    const Cellule& Case(int i) const { return jeu_.Cellules()[static_cast<std::size_t>(i)]; }
    bool CaseLibre(int i) const { return i >= 0 && Case(i).Tag == 0 && !plan_.contains(i); }
    Jeu& jeu_;
    std::map<int, std::vector<int>> plan_;
};

} // namespace canalisor::test
