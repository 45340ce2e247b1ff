#include "Joueur.h"

#include <algorithm>
#include <cstdint>

namespace canalisor::test {

namespace {

// Pipes joining the side the liquid comes in by, moving `sensEntree`, to the side it leaves by.
std::vector<int> PipesPour(Direction sensEntree, Direction sortie) {
    const int voulu = CoteVers(Opposee(sensEntree)) | CoteVers(sortie);
    std::vector<int> codes; // a cross fits only where the liquid runs straight on
    for (int code = DroitH; code <= Croix; ++code)
        if (Ouvertures(code) == voulu || (code == Croix && sensEntree == sortie))
            codes.push_back(code);
    return codes;
}

// The order the search tries the ways out of a cell in.
constexpr std::array<Direction, 4> Directions{Direction::Droite, Direction::Bas, Direction::Haut,
                                              Direction::Gauche};

bool Contient(const std::vector<int>& codes, int code) {
    return std::ranges::find(codes, code) != codes.end();
}

const Cellule& Case(const Jeu& jeu, int i) {
    return jeu.Cellules()[static_cast<std::size_t>(i)];
}

} // namespace

bool JoueurScripte::CaseLibre(int i) const {
    return Case(jeu_, i).Tag == Vide && !plan_.contains(i);
}

// Breadth-first search from cell `depuis`, entered moving in direction `sens`, to the cell
// `but`, which must be entered horizontally (a gate; `*sortieBut` receives the direction the
// liquid leaves it by) or moving right (an arrival). The way back needs no check: the cell behind
// is a visited one, or the anchored piece the search starts from.
bool JoueurScripte::Chemin(int depuis, Direction sens, int but, bool butHorizontal, int* sortieBut) {
    if (!CaseLibre(depuis))
        return false;
    // Each cell reached: the one it was reached from, and the direction it was entered moving in.
    std::map<int, std::pair<int, Direction>> venue{{depuis, {-1, sens}}};
    std::vector<int> file{depuis};
    for (std::size_t k = 0; k < file.size(); ++k) {
        for (Direction sortie : Directions) {
            const auto suivant = Voisin(file[k], sortie);
            if (suivant == but &&
                (sortie == Direction::Droite || (butHorizontal && sortie == Direction::Gauche))) {
                if (sortieBut)
                    *sortieBut = static_cast<int>(sortie);
                // Each cell's exit is the direction its successor was entered by.
                for (int n = file[k]; n >= 0; n = venue[n].first) {
                    plan_[n] = PipesPour(venue[n].second, sortie);
                    sortie = venue[n].second;
                }
                return true;
            }
            if (suivant && CaseLibre(*suivant) && venue.try_emplace(*suivant, file[k], sortie).second)
                file.push_back(*suivant);
        }
    }
    return false;
}

bool JoueurScripte::Planifier() {
    plan_.clear();
    const EtatJeu& etat = jeu_.Etat();
    bool tout = true;
    for (Couleur c : Couleurs) {
        if (!EstActive(c, etat.Niveau))
            continue;
        const Liquide& l = etat[c];
        const bool porte = APorte(c, etat.Niveau);
        int sortie = 0;
        const bool trouve =
            Chemin(l.Depart + 1, Direction::Droite, porte ? l.Passage : l.Arrivee, porte, &sortie);
        // Through the gate, the liquid goes on the way it came in.
        const auto d = static_cast<Direction>(sortie);
        const auto apres = Voisin(l.Passage, d);
        tout = trouve && (!porte || (apres && Chemin(*apres, d, l.Arrivee, false, nullptr))) && tout;
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
        for (int i = 0; cible < 0 && i < NombreCellules; ++i) {
            const Cellule& c = Case(jeu_, i);
            if (!plan_.contains(i) && (c.Tag == Vide || EstTuyau(c.Tag)) && c.DataField.empty())
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
