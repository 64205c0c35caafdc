#include "app/helpdialog.h"

#include "app/buildinfo.h"
#include "system/language.h"
#include "system/pictures.h"

#include <QDate>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// The topics, in the order a new user needs them.
const char *const topics[] = {
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Lamello służy do szybkiego przygotowania wsuwanych opisów (baretek) do paneli\n"
                      "czołowych urządzeń. Geometrię baretki (liczbę pól, wymiary pola opisu i nagłówka)\n"
                      "można ustawić w panelu „Geometria”, więc program przygotuje także własne wkładki."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Struktura paska menu, wyjaśnienie opcji\n"
                      "1. Plik\n"
                      "   Nowe opisy (Ctrl+N) – otwiera pusty wbudowany edytor dla nowego pliku z opisami.\n"
                      "   Otwórz projekt (Ctrl+O) – wczytuje zapisany projekt (*.lmpro) z jego opisami\n"
                      "   i czcionkami.\n"
                      "   Zapisz projekt (Ctrl+S) – zapisuje bieżące opisy razem z czcionkami do otwartego\n"
                      "   projektu, bez pytania o nazwę; Zapisz projekt jako… (Ctrl+Shift+S) zawsze pyta.\n"
                      "   Importuj plik z opisami (Ctrl+Alt+O) – wczytuje opisy z pliku *.txt lub *.dat.\n"
                      "   Eksportuj plik z opisami (Ctrl+Alt+S) – zapisuje bieżące opisy do pliku *.txt lub *.dat.\n"
                      "   Importuj arkusz… – wczytuje baretki z arkusza ODS, XLSX albo CSV: jeden wiersz\n"
                      "   to baretka (kolumna nagłówków i kolumny etykiet) albo jedna kolumna to kolejne pola.\n"
                      "   Wczytaj ponownie (F5) – wczytuje ostatni arkusz jeszcze raz, z tym samym wyborem kolumn.\n"
                      "   Eksportuj jako CSV… – zapisuje arkusz jako CSV (UTF-8, „;”), wiersz to baretka.\n"
                      "   Ostatnio otwierane – ostatnie otwarte i zapisane pliki z opisami i projekty.\n"
                      "   Zakończ (Ctrl+Q) – zamyka program; o niezapisanych zmianach arkusza i edytora\n"
                      "   najpierw zapyta.\n"
                      "2. Edycja\n"
                      "   Cofnij (Ctrl+Z), Ponów (Ctrl+Shift+Z) – cofają i ponawiają zmiany tekstów\n"
                      "   i czcionek pól.\n"
                      "   Edytuj pole… – otwiera okno edycji zaznaczonego pola (także Enter i F2).\n"
                      "   Ustaw czcionkę… – nadaje zaznaczonym polom rozmiar i styl wybrane w oknie czcionki.\n"
                      "   Wytnij pole (Ctrl+X), Kopiuj pole (Ctrl+C), Wklej pole (Ctrl+V) – przenoszą albo\n"
                      "   kopiują tekst pola razem z czcionką do innego pola; dostępne, gdy jest zaznaczone pole.\n"
                      "   Wklej z arkusza (Ctrl+Shift+V) – wczytuje komórki skopiowane z arkusza.\n"
                      "   Znajdź… (Ctrl+F), Zamień… (Ctrl+H) – otwierają pod arkuszem pasek wyszukiwania\n"
                      "   i zamiany (opisany niżej).\n"
                      "   Wypełnij serią… – wpisuje do zaznaczonych pól kolejne wartości wzoru (opis niżej).\n"
                      "   Dopasuj rozmiar (Ctrl+Shift+F) – zmniejsza czcionkę zaznaczonych opisów (bez\n"
                      "   zaznaczenia: wszystkich) do największego rozmiaru, przy którym tekst mieści się\n"
                      "   w polu, nie mniej niż 4; opisy, które się mieszczą, zostają bez zmian.\n"
                      "   Następne pole, które się nie mieści (F3), Poprzednie pole, które się nie mieści\n"
                      "   (Shift+F3) – pokazują stronę z takim polem i zaznaczają je; to samo robi\n"
                      "   kliknięcie napisu „Nie mieści się: …” na pasku stanu.\n"
                      "   Edytor (Ctrl+E) – otwiera wbudowany edytor z ostatnio wczytanym plikiem opisów,\n"
                      "   w takiej postaci, w jakiej leży na dysku: bez zmian zrobionych w podglądzie.\n"
                      "3. Drukuj\n"
                      "   Drukuj bieżącą stronę (Ctrl+P), Drukuj wszystkie strony (Ctrl+Shift+P) – drukują\n"
                      "   na drukarce wybranej na pasku „Drukarka” albo do pliku PDF („PDF WBUDOWANA”).\n"
                      "   Wydruk ma rzeczywiste wymiary: pole o szerokości 37,3 mm ma na papierze 37,3 mm.\n"
                      "   Drukuj strony… (Ctrl+Alt+P) – wybrane strony (np. 1-3,5) w 1 do 99 kopiach,\n"
                      "   składanych po kolei.\n"
                      "   Drukuj oznaczenia – wyłączone zostawia na papierze tylko ramki i teksty pól,\n"
                      "   bez zabarwienia niemieszczących się opisów i bez szarej ramki obszaru wydruku.\n"
                      "   Kalibracja drukarki… – przesunięcie i skala wydruku dla wybranej drukarki,\n"
                      "   wyliczane z pomiaru strony testowej; program stosuje je do każdego wydruku\n"
                      "   na tej drukarce (PDF zawsze ma rzeczywiste wymiary).\n"
                      "4. Pomoc\n"
                      "   Pomoc (F1) – to okno.\n"
                      "   O programie Lamello – wersja, data kompilacji i licencje.\n"
                      "   O Qt – wersja i licencja biblioteki Qt.\n"
                      "   Język / Language – Język pulpitu, Polski albo English: język okna, zmieniany od razu\n"
                      "   i zapamiętywany; lamello --lang en (albo pl) wybiera język na jedno uruchomienie."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Arkusz pamięta każdą zmianę tekstu i czcionki. Zmiana geometrii, liczby etykiet\n"
                      "lub drukarki tylko rozmieszcza pola na nowo: teksty, czcionki i historia zmian\n"
                      "zostają, więc poprawki można robić w dowolnej chwili. Gwiazdka w tytule okna\n"
                      "oznacza niezapisane zmiany; przed importem innego pliku, otwarciem projektu,\n"
                      "wczytaniem zapisu z edytora i zamknięciem programu pojawia się pytanie\n"
                      "„Arkusz ma niezapisane zmiany. Zapisać projekt?” (Zapisz / Porzuć / Anuluj)."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Wbudowany edytor po każdym zapisie wczytuje plik ponownie do podglądu; czcionki pól\n"
                      "zostają na swoich miejscach (gdy arkusz ma niezapisane zmiany, program najpierw\n"
                      "o nie zapyta, zanim cokolwiek zapisze). Plik musi trzymać się wzoru: jeden wiersz na jedno pole,\n"
                      "po kolei – najpierw nagłówek baretki, potem jej pola opisów – każdy wiersz zakończony\n"
                      "klawiszem Enter. Znak „@” w wierszu oznacza przejście do nowej linii w polu, a znaki\n"
                      "#, $, ^ i & są drukowane jako symbole par plus/minus (legenda obok edytora).\n"
                      "Zamknięcie edytora z niezapisanymi zmianami zawsze zapyta, co z nimi zrobić."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Zmiany czcionki z paska „Czcionka” dotyczą zaznaczonych opisów. Opis zaznacza się\n"
                      "kliknięciem myszy; z wciśniętym klawiszem SHIFT i/lub CTRL można zaznaczyć kilka\n"
                      "opisów i zmieniać je razem. Zaznaczenie przesuwają też strzałki: w górę i w dół\n"
                      "po polach baretki i dalej do baretki powyżej lub poniżej, w lewo i w prawo do tego\n"
                      "samego pola sąsiedniej baretki, także na sąsiedniej stronie; Home i End zaznaczają\n"
                      "pierwsze i ostatnie pole strony. Strzałki z SHIFT zaznaczają prostokąt pól od pola,\n"
                      "przy którym je wciśnięto. Esc albo kliknięcie w puste miejsce strony usuwa zaznaczenie.\n"
                      "Enter lub F2 otwiera okno edycji zaznaczonego opisu (pierwszego z kilku); w nim\n"
                      "Ctrl+Enter zatwierdza tekst, a sam Enter zaczyna nową linię. Klawisze Page Up i Page Down zmieniają\n"
                      "stronę, Ctrl+Home i Ctrl+End przechodzą na pierwszą i ostatnią, a numer strony\n"
                      "można wpisać we wskaźnik strony (kliknięcie albo Ctrl+G). Ctrl++ i Ctrl+-\n"
                      "powiększają i pomniejszają podgląd, Ctrl+0 dopasowuje stronę do okna."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Znajdź (Ctrl+F, menu Edycja) otwiera pod arkuszem pasek wyszukiwania. Szuka we wszystkich\n"
                      "polach arkusza, także na stronach jeszcze nieoglądanych: znalezione pole zostaje zaznaczone,\n"
                      "a jego strona pokazana. Enter przechodzi do następnego pola, Shift+Enter do poprzedniego\n"
                      "(za ostatnim jest znowu pierwsze), a licznik mówi, które to z ilu („3 z 17”).\n"
                      "„Uwzględniaj wielkość liter” odróżnia „Pompa” od „POMPA”; „Całe pole” znajduje tylko pola,\n"
                      "których tekst jest dokładnie taki jak wpisany. Znak „@” w szukanym tekście oznacza\n"
                      "nową linię w polu, jak w pliku z opisami: „Awaria@P3” znajduje pole z „Awaria” w jednej\n"
                      "linii i „P3” w następnej (spacja nie zastępuje nowej linii). Esc zamyka pasek i wraca\n"
                      "do arkusza; F3 nadal pokazuje pola, które się nie mieszczą."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Zamień (Ctrl+H, menu Edycja) dodaje do paska wyszukiwania pole „Zamień na”. „Zamień”\n"
                      "(albo Enter w tym polu) zamienia szukany tekst w znalezionym polu i szuka następnego;\n"
                      "„Zamień wszystko” zamienia go we wszystkich pasujących polach arkusza naraz, a pasek\n"
                      "stanu podaje, ile pól się zmieniło. Każde pole zachowuje swoją czcionkę, a całą zamianę\n"
                      "cofa jedno Ctrl+Z. „@” w tekście zamiany to nowa linia, jak w szukanym tekście. Tekst\n"
                      "ze znakiem, którego nie da się zapisać w pliku z opisami (Windows-1250), nie zostanie\n"
                      "użyty: program nazwie ten znak i niczego nie zmieni. Ctrl+Z w polach paska cofa to,\n"
                      "co zrobiono ostatnio: najpierw zamianę w arkuszu, potem tekst wpisany w polu."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Wypełnij serią… (menu Edycja i menu pola) wpisuje do zaznaczonych pól kolejne wartości\n"
                      "wzoru, w porządku czytania: w dół baretki, potem następna baretka i następna strona.\n"
                      "Przy jednym zaznaczonym polu okno pyta, ile pól od niego wypełnić (także na dalszych\n"
                      "stronach) i czy pominąć nagłówki baretek. Tekst wzoru jest przepisywany, „@” to nowa\n"
                      "linia, „{{” i „}}” to nawiasy, a w nawiasach są liczniki: {1} – liczby od 1 bez końca;\n"
                      "{0-7} – od 0 do 7 i znowu od 0, a licznik po lewej rośnie wtedy o 1 (Q{0}.{0-7} daje\n"
                      "Q0.0 … Q0.7, Q1.0 …); {01-16} – zera z przodu ustalają liczbę cyfr; {A} – litery\n"
                      "A … Z, AA, AB …; {a} – małe litery; {A-H} – litery od A do H i znowu od A. Z pola na pole\n"
                      "rośnie tylko licznik najbardziej po prawej. Okno pokazuje pierwsze wartości, a błąd we\n"
                      "wzorze wskazuje numerem znaku. Każde pole zachowuje czcionkę, pasek stanu podaje,\n"
                      "ile pól wypełniono, a całość cofa jedno Ctrl+Z."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Prawy przycisk myszy na polu, klawisz Menu albo Shift+F10 otwiera menu pola: edycja\n"
                      "i czcionka pola, wytnij, kopiuj i wklej pole, dopasowanie rozmiaru i wypełnienie serią.\n"
                      "Prawy klik na zaznaczonym polu zostawia całe zaznaczenie, na innym polu zaznacza tylko\n"
                      "to pole. „Ustaw czcionkę…” nadaje wszystkim zaznaczonym polom rozmiar i styl wybrane\n"
                      "w oknie czcionki; każde pole zachowuje swój krój, a całość cofa jedno Ctrl+Z."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Całą pracę można wykonać samą klawiaturą. Tab i Shift+Tab przechodzą między\n"
                      "kontrolkami okna, także w oknie edycji opisu i w podglądzie importu; polecenia\n"
                      "paska „Akcje” i „Dopasuj rozmiar” mają pozycje w menu ze skrótami, a przyciski\n"
                      "ukryte w wąskim oknie za „»” pokazuje ten przycisk. Opis razem z czcionką\n"
                      "przenosi się do innego pola klawiszami Ctrl+X na zaznaczonym polu i Ctrl+V na polu\n"
                      "docelowym (Ctrl+C zamiast Ctrl+X kopiuje); Ctrl+Z cofa to jednym krokiem.\n"
                      "Arkusz z fokusem ma ramkę, pole, na którym jest klawiatura, ramkę przerywaną,\n"
                      "zaznaczone pola grubą ciemną ramkę, a pola, w których opis się nie mieści,\n"
                      "ciemny róg – obok dotychczasowych kolorów.\n"
                      "Czytnik ekranu (np. Orca) odczytuje arkusz jako listę pól: tekst pola, jego miejsce\n"
                      "(„baretka 3, etykieta 5, strona 2”) i „nie mieści się”, gdy opis wychodzi poza\n"
                      "ramkę; każde przesunięcie zaznaczenia jest ogłaszane, a pola stron jeszcze\n"
                      "niepokazanych też można odczytać. Przyciski pasków mają nazwy, pola geometrii\n"
                      "są odczytywane z własnymi etykietami, a B, I i U podają, czy są włączone."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Jeżeli nie zostanie zaznaczony żaden opis,\n"
                      "zmiany czcionki zostaną zastosowane do wszystkich elementów."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Pola, w których nie mieszczą się zadane opisy tekstowe, zaznaczane są kolorem\n"
                      "pomarańczowym i/lub fioletowym, a pasek stanu podaje ich liczbę. Przed wydrukiem\n"
                      "takich pól program pyta, czy drukować mimo to. Czcionka z zaznaczonym\n"
                      "„Autodopasowaniem” sama przyjmuje największy rozmiar do 10, przy którym tekst\n"
                      "się mieści, także po każdej zmianie opisu."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Dwukrotne kliknięcie lewym przyciskiem myszy na polu otwiera okno edycji tego jednego\n"
                      "opisu. Opisy można też przenosić między polami metodą „przeciągnij i upuść”:\n"
                      "opis razem z czcionką zostaje skopiowany z przeciąganego pola do pola\n"
                      "podświetlonego na żółto. Takie zmiany, jak i zmiany czcionki, można cofnąć\n"
                      "(Ctrl+Z, menu Edycja → Cofnij) i ponowić (Ctrl+Shift+Z), także po zmianie\n"
                      "geometrii lub drukarki – aż do wczytania innego pliku lub projektu."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Zapis projektu tworzy plik „.lmpro” z bieżącą czcionką każdego opisu oraz, w tym samym\n"
                      "miejscu i pod tą samą nazwą, plik „.dat” z bieżącymi tekstami. Otwarcie projektu\n"
                      "wczytuje opisy razem z ich czcionkami. Projekt albo plik z opisami otwiera się też,\n"
                      "przeciągając go z menedżera plików na okno programu albo podając jego nazwę\n"
                      "w wierszu poleceń: lamello plik."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Niezapisane zmiany arkusza trafiają chwilę po każdej zmianie do kopii zapasowej\n"
                      "w folderze danych użytkownika (~/.local/share/Lamello/lamello/recovery). Zapis,\n"
                      "porzucenie zmian albo zwykłe zamknięcie programu ją usuwa. Po awarii, zabiciu programu\n"
                      "lub zaniku zasilania następne uruchomienie proponuje przywrócenie arkusza: tekstów,\n"
                      "czcionek, geometrii wkładek i, dla arkusza z pliku kalkulacyjnego, ustawień importu,\n"
                      "z którymi F5 wczytuje go ponownie (bez historii cofania); „Później” zostawia kopię\n"
                      "do następnego uruchomienia."),
    QT_TRANSLATE_NOOP("HelpDialog",
                      "Plik z opisami można też wydrukować bez otwierania okna programu, poleceniem\n"
                      "lamello-batch, na przykład:\n"
                      "   lamello-batch panel.txt -o panel.pdf\n"
                      "   lamello-batch panel.txt -P Warsztat --pages 2-5\n"
                      "   lamello-batch panel.txt -n 10 --label 40x10 --header 52x9 -o panel.pdf\n"
                      "   lamello-batch panel.txt -P Warsztat --shift 0.5,-1 --no-marks\n"
                      "Wszystkie opcje wypisuje lamello-batch --help."),
};

QLabel *label(const QString &text, int points, bool bold = false)
{
    auto *l = new QLabel(text);
    QFont font;
    font.setPointSize(points);
    if (bold)
        font.setWeight(QFont::Bold);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel *footLabel(const QString &text)
{
    auto *l = new QLabel(text);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

QString HelpDialog::buildLine()
{
    const QDate built = QDate::fromString(QString::fromLatin1(LamelloBuild::date), Qt::ISODate);
    const QString date = built.isValid() ? Language::locale().toString(built, QStringLiteral("d MMMM yyyy"))
                                         : QString::fromLatin1(LamelloBuild::date);
    return tr("Lamello %1, kompilacja z dnia: %2").arg(QString::fromLatin1(LamelloBuild::version), date);
}

HelpDialog::HelpDialog(QWidget *parent)
    : QDialog(parent)
{
    auto *logo = new QLabel;
    logo->setPixmap(Pictures::pixmap(QStringLiteral(":/icons/logo_duze.png"), devicePixelRatio()));

    auto *inner = new QVBoxLayout;
    inner->addWidget(label(tr("Lamello"), 11, true), 0, Qt::AlignHCenter);
    inner->addWidget(label(tr("Wsuwane opisy (baretki) do paneli czołowych urządzeń"), 11), 0, Qt::AlignHCenter);
    inner->addWidget(label(tr("przygotowanie, podgląd i wydruk w rzeczywistym rozmiarze"), 11), 0,
                     Qt::AlignHCenter);
    for (const char *topic : topics) {
        inner->addSpacing(10);
        QLabel *l = label(tr(topic), 10);
        l->setObjectName(QStringLiteral("topic"));
        inner->addWidget(l);
    }
    inner->addSpacing(5);
    QLabel *build = footLabel(buildLine());
    build->setObjectName(QStringLiteral("lbBuild"));
    inner->addWidget(build, 0, Qt::AlignRight);
    QLabel *credit = footLabel(tr("Ikony: Tango Desktop Project (domena publiczna)"));
    credit->setObjectName(QStringLiteral("lbCredit"));
    inner->addWidget(credit, 0, Qt::AlignRight);

    auto *page = new QFrame;
    page->setLayout(inner);
    auto *scroll = new QScrollArea;
    scroll->setFrameStyle(QFrame::Box | QFrame::Sunken);
    scroll->setPalette(QPalette(Qt::white));
    scroll->setBackgroundRole(QPalette::Base);
    scroll->setWidget(page);
    // Only a vertical scroll bar is ever needed.
    scroll->setMinimumWidth(page->width() + 30);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addWidget(scroll);

    setWindowTitle(tr("Pomoc - Lamello"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lamello.png")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    adjustSize();
    // The whole page when the screen has room for it, otherwise as much as fits.
    const int contents = logo->sizeHint().height() + page->height() + 4 * layout->spacing() + 40;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() * 9 / 10 : contents;
    resize(width(), std::min(contents, room));
}
