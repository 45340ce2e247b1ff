#include "Joueur.h"

#include <algorithm>
#include <deque>

namespace canalisor::test {

namespace {

std::uint8_t Cote(Direction d) {
    switch (d) {
    case Direction::Droite: return canalisor::Droite;
    case Direction::Gauche: return canalisor::Gauche;
    case Direction::Bas: return canalisor::Bas;
    case Direction::Haut: return canalisor::Haut;
    }
    return 0;
}

Direction Inverse(Direction d) {
    switch (d) {
    case Direction::Droite: return Direction::Gauche;
    case Direction::Gauche: return Direction::Droite;
    case Direction::Bas: return Direction::Haut;
    case Direction::Haut: return Direction::Bas;
    }
    return d;
}

bool Horizontale(Direction d) { return d == Direction::Droite || d == Direction::Gauche; }

// Pipes joining the side the liquid comes in by to the side it leaves by.
std::vector<int> PipesPour(Direction sensEntree, Direction sortie) {
    const std::uint8_t voulu = static_cast<std::uint8_t>(Cote(Inverse(sensEntree)) | Cote(sortie));
    std::vector<int> codes;
    for (int code = DroitH; code <= CoudeDH; ++code)
        if (Ouvertures(code) == voulu)
            codes.push_back(code);
    if (sensEntree == sortie)
        codes.push_back(Croix);
    return codes;
}

constexpr std::array<Direction, 4> Directions{Direction::Droite, Direction::Bas, Direction::Haut, Direction::Gauche};

}  // namespace

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
            if (sortie == Inverse(noeuds[k].sens))
                continue;
            const auto suivant = Voisin(noeuds[k].cellule, sortie);
            if (!suivant)
                continue;
            const bool arrive = *suivant == but && (butHorizontal ? Horizontale(sortie) : sortie == Direction::Droite);
            if (arrive) {
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
        if (APorte(c, etat.Niveau)) {
            int sortie = 0;
            if (!Chemin(l.Depart + 1, Direction::Droite, l.Passage, true, &sortie)) {
                tout = false;
                continue;
            }
            const auto d = static_cast<Direction>(sortie);
            const auto apres = Voisin(l.Passage, d);
            tout = apres && Chemin(*apres, d, l.Arrivee, false, nullptr) && tout;
        } else {
            tout = Chemin(l.Depart + 1, Direction::Droite, l.Arrivee, false, nullptr) && tout;
        }
    }
    return tout;
}

bool JoueurScripte::PlanEnPlace() const {
    return std::all_of(plan_.begin(), plan_.end(), [&](const auto& entree) {
        const int tag = jeu_.Cellules()[static_cast<std::size_t>(entree.first)].Tag;
        return std::find(entree.second.begin(), entree.second.end(), tag) != entree.second.end();
    });
}

int JoueurScripte::Poser(int clicsMax) {
    int clics = 0;
    int rebut = -1;
    while (!PlanEnPlace() && clics < clicsMax) {
        const int enMain = jeu_.Etat().Tuyau1;
        int cible = -1;
        for (const auto& [cellule, codes] : plan_) {
            const Cellule& c = jeu_.Cellules()[static_cast<std::size_t>(cellule)];
            const bool bon = std::find(codes.begin(), codes.end(), c.Tag) != codes.end();
            if (!bon && c.DataField.empty() && std::find(codes.begin(), codes.end(), enMain) != codes.end()) {
                cible = cellule;
                break;
            }
        }
        if (cible < 0) {
            for (int i = 0; rebut < 0 && i < NombreCellules; ++i)
                if (CaseLibre(i))
                    rebut = i;
            if (rebut < 0)
                break;
            cible = rebut;
        }
        jeu_.Grille_Click(cible);
        ++clics;
    }
    return clics;
}

int JoueurScripte::JouerNiveau(const std::function<void()>& apresEvenement) {
    Planifier();
    Poser();
    if (apresEvenement)
        apresEvenement();
    const auto niveau = jeu_.Etat().Niveau;
    const auto essais = jeu_.Etat().Essais;
    int tics = 0;
    while (jeu_.Affichage().Timer1Actif && jeu_.Etat().Niveau == niveau && jeu_.Etat().Essais == essais) {
        jeu_.Timer1_Timer();
        ++tics;
        if (apresEvenement)
            apresEvenement();
    }
    return tics;
}

}  // namespace canalisor::test
