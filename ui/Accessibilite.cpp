#include "Accessibilite.h"

#include <array>
#include <unordered_map>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>

#include "Controles.h"

namespace canalisor::ui {

namespace {

// The catalogue names every picture with the piece and the liquids it shows.
const Tuile* TuileNommee(const std::string& nom) {
    static const std::unordered_map<std::string, const Tuile*> index = [] {
        std::unordered_map<std::string, const Tuile*> tuiles;
        for (const Tuile& tuile : CatalogueTuiles())
            tuiles.emplace(tuile.Nom, &tuile);
        return tuiles;
    }();
    const auto trouvee = index.find(nom);
    return trouvee == index.end() ? nullptr : trouvee->second;
}

// Every spoken text is translated in this file's context.
QString Traduire(const char* texte) {
    return QCoreApplication::translate("Accessibilite", texte);
}

QString NomCouleur(Couleur c) {
    return Traduire(Description(c).Nom);
}

QString Decrire(const Tuile& tuile) {
    QString texte = NomPiece(tuile.Code);
    if (tuile.Horizontal)
        texte += Traduire(QT_TRANSLATE_NOOP("Accessibilite", ", canal horizontal rempli de %1"))
                     .arg(NomCouleur(*tuile.Horizontal));
    if (tuile.Vertical)
        texte += Traduire(QT_TRANSLATE_NOOP("Accessibilite", ", canal vertical rempli de %1"))
                     .arg(NomCouleur(*tuile.Vertical));
    if (tuile.Remplissage)
        texte += Traduire(QT_TRANSLATE_NOOP("Accessibilite", ", rempli de %1"))
                     .arg(NomCouleur(*tuile.Remplissage));
    return texte;
}

// A cell of the board is a button, pressed as a click presses it. The keyboard's cursor stands
// for the focus inside the board, which itself holds the keyboard.
class AccessibleCase : public QAccessibleWidget {
  public:
    explicit AccessibleCase(CaseImage* c)
        : QAccessibleWidget(c, c->Cliquable() ? QAccessible::Button : QAccessible::Graphic) {}

    QAccessible::State state() const override {
        QAccessible::State etat = QAccessibleWidget::state();
        const CaseImage* c = Case();
        if (c->Cliquable()) {
            etat.focusable = true;
            etat.focused = c->EstCurseur() && c->parentWidget() && c->parentWidget()->hasFocus();
        }
        return etat;
    }

    QStringList actionNames() const override {
        QStringList actions = QAccessibleWidget::actionNames();
        if (Case()->Cliquable())
            actions.prepend(pressAction());
        return actions;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && Case()->Cliquable())
            Case()->Activer();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    CaseImage* Case() const { return static_cast<CaseImage*>(widget()); }
};

class AccessibleCompteur : public QAccessibleWidget {
  public:
    explicit AccessibleCompteur(Compteur* c) : QAccessibleWidget(c, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<const Compteur*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Fabrique(const QString& classe, QObject* objet) {
    if (classe == QLatin1String(CaseImage::staticMetaObject.className()))
        return new AccessibleCase(static_cast<CaseImage*>(objet));
    if (classe == QLatin1String(Compteur::staticMetaObject.className()))
        return new AccessibleCompteur(static_cast<Compteur*>(objet));
    return nullptr;
}

} // namespace

QString NomPiece(int code) {
    static const std::array<const char*, 9> pieces{
        QT_TRANSLATE_NOOP("Accessibilite", "case vide"),
        QT_TRANSLATE_NOOP("Accessibilite", "obstacle"),
        QT_TRANSLATE_NOOP("Accessibilite", "tuyau horizontal"),
        QT_TRANSLATE_NOOP("Accessibilite", "tuyau vertical"),
        QT_TRANSLATE_NOOP("Accessibilite", "coude droite-bas"),
        QT_TRANSLATE_NOOP("Accessibilite", "coude gauche-bas"),
        QT_TRANSLATE_NOOP("Accessibilite", "coude gauche-haut"),
        QT_TRANSLATE_NOOP("Accessibilite", "coude droite-haut"),
        QT_TRANSLATE_NOOP("Accessibilite", "croisement"),
    };
    if (code >= 0 && code < static_cast<int>(pieces.size()))
        return Traduire(pieces[static_cast<std::size_t>(code)]);
    if (const auto couleur = CouleurDuCode(code)) {
        static const std::array<const char*, 3> ancres{
            QT_TRANSLATE_NOOP("Accessibilite", "départ du liquide %1"),
            QT_TRANSLATE_NOOP("Accessibilite", "arrivée du liquide %1"),
            QT_TRANSLATE_NOOP("Accessibilite", "porte du liquide %1"),
        };
        return Traduire(ancres[static_cast<std::size_t>((code - 9) % 3)]).arg(NomCouleur(*couleur));
    }
    return Traduire(QT_TRANSLATE_NOOP("Accessibilite", "pièce %1")).arg(code);
}

QString ContenuCase(const Cellule& cellule) {
    if (const Tuile* tuile = TuileNommee(cellule.Image))
        return Decrire(*tuile);
    return NomPiece(cellule.Piece);
}

QString NomCase(int index, const Cellule& cellule) {
    return Traduire(QT_TRANSLATE_NOOP("Accessibilite", "Ligne %1, colonne %2 : %3"))
        .arg(index / Colonnes + 1)
        .arg(index % Colonnes + 1)
        .arg(ContenuCase(cellule));
}

QString NomBloc(std::size_t rang, const std::string& image) {
    static const std::array<const char*, 3> boites{
        QT_TRANSLATE_NOOP("Accessibilite", "Tuyau en main"),
        QT_TRANSLATE_NOOP("Accessibilite", "Tuyau suivant"),
        QT_TRANSLATE_NOOP("Accessibilite", "Tuyau d'après"),
    };
    const Tuile* tuile = TuileNommee(image);
    return Traduire(QT_TRANSLATE_NOOP("Accessibilite", "%1 : %2"))
        .arg(Traduire(boites.at(rang)),
             tuile ? Decrire(*tuile) : Traduire(QT_TRANSLATE_NOOP("Accessibilite", "aucun")));
}

void InstallerAccessibilite() {
    static const bool installee = [] {
        QAccessible::installFactory(&Fabrique);
        return true;
    }();
    (void)installee;
}

} // namespace canalisor::ui
