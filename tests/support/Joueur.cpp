#include "Joueur.h"

#include <algorithm>

namespace canalisor::test {

namespace {

// The side of a cell each direction leads to, in the order Direction lists them (Droite, Gauche,
// Bas, Haut): flipping the low bit of a direction gives the opposite one.
constexpr std::uint8_t Cotes[]{canalisor::Droite, canalisor::Gauche, canalisor::Bas, canalisor::Haut};
Direction Inverse(Direction d) {
    return static_cast<Direction>(static_cast<int>(d) ^ 1);
}
bool Horizontale(Direction d) {
    return static_cast<int>(d) < 2;
}

// Pipes joining the side the liquid comes in by to the side it leaves by.
std::vector<int> PipesPour(Direction sensEntree, Direction sortie) {
    const int voulu = Cotes[static_cast<int>(Inverse(sensEntree))] | Cotes[static_cast<int>(sortie)];
    std::vector<int> codes;
    for (int code = DroitH; code <= CoudeDH; ++code)
        if (Ouvertures(code) == voulu)
            codes.push_back(code);
    if (sensEntree == sortie)
        codes.push_back(Croix);
    return codes;
}

constexpr std::array<Direction, 4> Directions{Direction::Droite, Direction::Bas, Direction::Haut,
                                              Direction::Gauche};

bool Contient(const std::vector<int>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

bool JoueurScripte::CaseLibre(int i) const {
    return jeu_.Cellules()[static_cast<std::size_t>(i)].Tag == Vide && !plan_.contains(i);
}

// Breadth-first search from cell `depuis`, entered moving in direction `sens`, to the cell
// `but`, which must be entered horizontally (a gate; `*sortieBut` receives the direction the
// liquid leaves it by) or moving right (an arrival).
bool JoueurScripte::Chemin(int depuis, Direction sens, int but, bool butHorizontal, int* sortieBut) {
    if (!CaseLibre(depuis))
        return false;
    struct Noeud {
        int cellule;
        Direction sens;
        int parent;
    };
    std::vector<Noeud> noeuds{{depuis, sens, -1}};
    std::vector<bool> vu(NombreCellules, false);
    vu[static_cast<std::size_t>(depuis)] = true;
    for (std::size_t k = 0; k < noeuds.size(); ++k) {
        for (Direction sortie : Directions) {
            const auto suivant = Voisin(noeuds[k].cellule, sortie);
            if (sortie == Inverse(noeuds[k].sens) || !suivant)
                continue;
            if (*suivant == but && (butHorizontal ? Horizontale(sortie) : sortie == Direction::Droite)) {
                // Each cell's exit is the direction its successor was entered by.
                Direction s = sortie;
                for (int n = static_cast<int>(k); n >= 0; n = noeuds[static_cast<std::size_t>(n)].parent) {
                    const Noeud& nd = noeuds[static_cast<std::size_t>(n)];
                    plan_[nd.cellule] = PipesPour(nd.sens, s);
                    s = nd.sens;
                }
                if (sortieBut)
                    *sortieBut = static_cast<int>(sortie);
                return true;
            }
            if (vu[static_cast<std::size_t>(*suivant)] || !CaseLibre(*suivant))
                continue;
            vu[static_cast<std::size_t>(*suivant)] = true;
            noeuds.push_back({*suivant, sortie, static_cast<int>(k)});
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
        if (!APorte(c, etat.Niveau)) {
            tout = Chemin(l.Depart + 1, Direction::Droite, l.Arrivee, false, nullptr) && tout;
            continue;
        }
        int sortie = 0;
        const bool versPorte = Chemin(l.Depart + 1, Direction::Droite, l.Passage, true, &sortie);
        const auto d = static_cast<Direction>(sortie);
        const auto apres = Voisin(l.Passage, d);
        tout = versPorte && apres && Chemin(*apres, d, l.Arrivee, false, nullptr) && tout;
    }
    return tout;
}

bool JoueurScripte::PlanEnPlace() const {
    return std::all_of(plan_.begin(), plan_.end(), [&](const auto& entree) {
        return Contient(entree.second, jeu_.Cellules()[static_cast<std::size_t>(entree.first)].Tag);
    });
}

int JoueurScripte::Poser(int clicsMax) {
    int clics = 0;
    for (; !PlanEnPlace() && clics < clicsMax; ++clics) {
        const auto& cellules = jeu_.Cellules();
        int cible = -1;
        for (const auto& [cellule, codes] : plan_) {
            const Cellule& c = cellules[static_cast<std::size_t>(cellule)];
            if (!Contient(codes, c.Tag) && c.DataField.empty() && Contient(codes, jeu_.Etat().Tuyau1)) {
                cible = cellule;
                break;
            }
        }
        // A pipe the plan has no use for goes on the first spare cell, empty or holding a dumped pipe.
        for (int i = 0; cible < 0 && i < NombreCellules; ++i) {
            const Cellule& c = cellules[static_cast<std::size_t>(i)];
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
    Planifier();
    Poser();
    if (apresEvenement)
        apresEvenement();
    const int niveau = jeu_.Etat().Niveau, essais = jeu_.Etat().Essais;
    int tics = 0;
    while (jeu_.Affichage().Timer1Actif && jeu_.Etat().Niveau == niveau && jeu_.Etat().Essais == essais) {
        jeu_.Timer1_Timer();
        ++tics;
        if (apresEvenement)
            apresEvenement();
    }
    return tics;
}

} // namespace canalisor::test
