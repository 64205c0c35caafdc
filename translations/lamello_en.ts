<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pl">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Lamello</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wsuwane opisy (baretki) do paneli czołowych urządzeń: przygotowanie, podgląd i wydruk w rzeczywistym rozmiarze.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Licencja: GNU General Public License w wersji 3 lub dowolnej późniejszej (GPL-3.0-or-later). Program jest rozpowszechniany bez żadnej gwarancji.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ikona programu i ikona projektu: narysowane dla Lamello, na licencji programu.
Ikony poleceń: Tango Desktop Project (domena publiczna).
Czcionka symboli TIMES_K: na podstawie Liberation Serif, SIL Open Font License 1.1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zbudowano z Qt %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O programie Lamello</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>to pętla dowiązań symbolicznych.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to jest folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo; nie zostanie zastąpiony.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatchPrint</name>
    <message>
        <source>to pętla dowiązań symbolicznych.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nie można odczytać pliku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje baretki z pliku z opisami albo z projektu bez okna programu: do pliku PDF w rzeczywistym rozmiarze albo na drukarce systemowej.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisuje wydruk do pliku PDF (strony A4); „-” to standardowe wyjście.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>plik.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje na drukarce systemowej (kolejce CUPS).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>drukarka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje tylko te strony, w kolejności arkusza, np. 2-5,9.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>strony</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liczba etykiet na baretce, od 5 do 15 (domyślnie 8).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szerokość i wysokość etykiety w mm (domyślnie 37.3x11.2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SxW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szerokość i wysokość nagłówka w mm (domyślnie 50.25x8.5).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje także plik z ponad %1 baretkami.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przesuwa wydruk o DX,DY mm (w prawo i w dół, od -%1 do %1) zamiast przesunięcia z kalibracji drukarki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DX,DY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skaluje wydruk o SX,SY % (od %1 do %2) zamiast skali z kalibracji drukarki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SX,SY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje bez oznaczeń: bez zabarwienia pól z niemieszczącym się tekstem i bez ramki obszaru wydruku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Język komunikatów: pl (polski) albo en (angielski); domyślnie według LANGUAGE i LANG.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>język</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pokazuje tę pomoc.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pokazuje wersję programu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PLIK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik z opisami (.txt, .dat) albo projekt (.lmpro, z plikiem .dat obok).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pomoc: lamello-batch --help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: nieznana opcja %2. %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: błędne wywołanie (%2). %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --lang %2: podaj pl albo en. %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Użycie:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Argumenty:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[opcje]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Kod wyjścia: 0 gotowe, 1 błędne wywołanie, 2 pliku wejściowego nie można wczytać, 3 wydruk się nie udał.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: podaj dokładnie jeden plik z opisami. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: podaj albo -o PLIK.pdf, albo -P DRUKARKA. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: pusta nazwa pliku PDF. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: pusta nazwa drukarki. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: -n %2: liczba etykiet musi być liczbą całkowitą od 5 do 15.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --%2 %3: podaj szerokość i wysokość w mm, np. 37.3x11.2 (każda większa od 0 i najwyżej 100).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --pages: za dużo stron na liście (najwyżej %2 pozycji).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --pages %2: podaj strony od 1 jako listę, np. 2-5,9.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --shift %2: podaj przesunięcie w mm jako DX,DY, np. 1.5,-0.5 (każde od -%3 do %3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --scale %2: podaj skalę w procentach jako SX,SY, np. 100.2,99.8 (każdą od %3 do %4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: -o -: standardowe wyjście to terminal, a PDF nie jest tekstem; podaj -o PLIK.pdf albo przekieruj wyjście do pliku lub potoku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: -o -: standardowe wyjście jest zamknięte; nic nie zapisano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: -o %1: to ten sam plik co plik wejściowy %2; nic nie zapisano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: nie ma takiego pliku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: zapis projektu został przerwany; dokończono go i drukowana jest zapisana wersja.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: to nie jest zwykły plik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: to nie jest plik projektu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: plik projektu jest uszkodzony: czcionki odczytano dla %3 z %4; pozostałe pola mają czcionkę domyślną.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2: plik zawiera %3 (%4), więcej niż %5; aby go wydrukować, dodaj --no-limit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: strona %1 z %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: --pages: strony %2 nie ma; arkusz ma stron: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: standardowe wyjście: nie można zapisać wydruku: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: drukarka „%1” nie jest dostępna; nic nie wydrukowano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: przy tej geometrii żadna baretka nie mieści się na stronie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello-batch: %1: ta nazwa nie jest zapisana w UTF-8, a takich nazw plików program nie obsługuje; zmień nazwę pliku.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>Kalibracja drukarki</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korekta wydruku</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przesunięcie w prawo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przesunięcie w dół:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skala w poziomie:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skala w pionie:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pomiar strony testowej</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strona testowa</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oblicz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wydrukuj stronę testową, zmierz ją linijką i wpisz wyniki:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Podziałka pozioma (wzorcowo 150 mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Podziałka pionowa (wzorcowo 250 mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Znak od lewej krawędzi (wzorcowo 10 mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Znak od górnej krawędzi (wzorcowo 10 mm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bez kalibracji</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarka: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie wydrukowano strony testowej.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stronę testową wysłano do drukarki %1. Zmierz ją i wpisz wyniki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z tych wymiarów wychodzi korekta poza zakresem (przesunięcie do %1 mm, skala od %2 do %3 %). Sprawdź pomiary.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korektę obliczono. „Zapisz” zachowuje ją dla drukarki %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Przygotowuje i drukuje wsuwane opisy (baretki) do paneli czołowych urządzeń.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pokazuje tę pomoc.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pokazuje wersję programu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PLIK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt (.lmpro) albo plik z opisami (.txt, .dat) do otwarcia; z kilku plików otwierany jest pierwszy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[PLIK...]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Argumenty:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Użycie: lamello [opcje] [PLIK...]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nieznana opcja %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lamello: %1. Pomoc: lamello --help
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DescriptionsCheck</name>
    <message>
        <source>%1 baretkę</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 baretki</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 baretek</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 strona</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 strony</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stron</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik zawiera %1 (%2). Wczytać?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„%1” nie jest zwykłym plikiem (to folder, potok lub urządzenie).
Plik z opisami nie został wczytany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik „%1” nie jest plikiem tekstowym z opisami: zawiera bajty zerowe albo nie dzieli się na wiersze.
Plik nie został wczytany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik „%1” jest zbyt duży: arkusz z niego potrzebowałby około %2 GB pamięci, a dostępne jest %3 GB.
Plik nie został wczytany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie ma pliku %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1: to pętla dowiązań symbolicznych.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditPad</name>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otwórz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz jako</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resetuj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik odczytano
jako UTF-8;
zapis będzie
w Windows-1250.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nowe opisy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To nie jest zwykły plik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie udało się otworzyć pliku do odczytu.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik %1 zawiera bajty NUL (%2), pokazane tutaj jako „%3”.
Na arkuszu każdy z nich kończy tekst swojego pola; dalsza część wiersza nie jest pokazywana.
Zapis zachowuje je bez zmian.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wczytywanie: %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czy na pewno chcesz nadpisać oryginalną zawartość pliku?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie zapisano pliku.
Znaku %1 w wierszu %2 nie można zapisać w kodowaniu Windows-1250. Usuń go lub zastąp innym.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie udało się zapisać pliku.
%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisano
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otwórz plik</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czy na pewno chcesz porzucić wszystkie zmiany?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tekst zawiera niezapisane zmiany. Zapisać je przed zamknięciem?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FitTracker</name>
    <message>
        <source>%1 pole</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pola</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 nie mieści się w ramkach.</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 nie mieszczą się w ramkach.</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 nie mieści się w ramkach.</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FontDialog</name>
    <message>
        <source>Autodopasowanie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Największy rozmiar do %1, przy którym tekst mieści się w polu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Podkreślenie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pogrubienie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pochylenie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ustaw</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dekoracja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rozmiar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FormatsLegend</name>
    <message>
        <source>    Znak
z klawiatury</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>    Znak
sformatowany</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nowa linia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> = </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GbGeometry</name>
    <message>
        <source>Geometria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zastosuj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Określa ilość pól opisowych z wyłączeniem nagłówka.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ustawienia predefiniowane:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ilość etykiet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szer. etykiety</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wys.  etykiety</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szer.  nagłówka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wys.  nagłówka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Użytkownika</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Własne ustawienia są zapisywane w pliku:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tej geometrii nie można zastosować.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ustawienia o podanej nazwie juz istnieją.
Czy nadpisać?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nadpisz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ustawień „%1” nie zapisano.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czy na pewno usunąć ustawienia:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ustawień „%1” nie usunięto.
%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeometryPreset</name>
    <message>
        <source>Ilość etykiet musi wynosić od %1 do %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szerokość i wysokość etykiety i nagłówka muszą być większe od zera i nie większe niż %1 mm.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baretka o tej szerokości nie mieści się na stronie A4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baretka o tej wysokości nie mieści się na stronie A4.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>Lamello służy do szybkiego przygotowania wsuwanych opisów (baretek) do paneli
czołowych urządzeń. Geometrię baretki (liczbę pól, wymiary pola opisu i nagłówka)
można ustawić w panelu „Geometria”, więc program przygotuje także własne wkładki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Struktura paska menu, wyjaśnienie opcji
1. Plik
   Nowe opisy – otwiera pusty wbudowany edytor dla nowego pliku z opisami.
   Otwórz projekt (Ctrl+O) – wczytuje zapisany projekt (*.lmpro) z jego opisami
   i czcionkami.
   Zapisz projekt (Ctrl+S) – zapisuje bieżące opisy razem z czcionkami do otwartego
   projektu, bez pytania o nazwę; Zapisz projekt jako… (Ctrl+Shift+S) zawsze pyta.
   Importuj plik z opisami – wczytuje opisy z pliku *.txt lub *.dat.
   Eksportuj plik z opisami – zapisuje bieżące opisy do pliku *.txt lub *.dat.
   Ostatnio otwierane – ostatnie otwarte i zapisane pliki z opisami i projekty.
   Zakończ (Ctrl+Q) – zamyka program; o niezapisanych zmianach arkusza i edytora
   najpierw zapyta.
2. Edycja
   Cofnij (Ctrl+Z), Ponów (Ctrl+Shift+Z) – cofają i ponawiają zmiany tekstów
   i czcionek pól.
   Dopasuj rozmiar (Ctrl+Shift+F) – zmniejsza czcionkę zaznaczonych opisów (bez
   zaznaczenia: wszystkich) do największego rozmiaru, przy którym tekst mieści się
   w polu, nie mniej niż 4; opisy, które się mieszczą, zostają bez zmian.
   Następne / poprzednie pole, które się nie mieści (F3 / Shift+F3) – pokazuje
   stronę z takim polem i zaznacza je; to samo robi kliknięcie napisu
   „Nie mieści się: …” na pasku stanu.
   Edytor – otwiera wbudowany edytor z ostatnio wczytanym plikiem opisów,
   w takiej postaci, w jakiej leży na dysku: bez zmian zrobionych w podglądzie.
3. Drukuj
   Drukuj bieżącą stronę, Drukuj wszystkie strony – drukują na drukarce wybranej
   na pasku „Drukarka” albo do pliku PDF („PDF WBUDOWANA”). Wydruk ma rzeczywiste
   wymiary: pole o szerokości 37,3 mm ma na papierze 37,3 mm.
   Drukuj strony… – wybrane strony (np. 1-3,5) w 1 do 99 kopiach, składanych po kolei.
   Drukuj oznaczenia – wyłączone zostawia na papierze tylko ramki i teksty pól,
   bez zabarwienia niemieszczących się opisów i bez szarej ramki obszaru wydruku.
   Kalibracja drukarki… – przesunięcie i skala wydruku dla wybranej drukarki,
   wyliczane z pomiaru strony testowej; program stosuje je do każdego wydruku
   na tej drukarce (PDF zawsze ma rzeczywiste wymiary).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arkusz pamięta każdą zmianę tekstu i czcionki. Zmiana geometrii, liczby etykiet
lub drukarki tylko rozmieszcza pola na nowo: teksty, czcionki i historia zmian
zostają, więc poprawki można robić w dowolnej chwili. Gwiazdka w tytule okna
oznacza niezapisane zmiany; przed importem innego pliku, otwarciem projektu,
wczytaniem zapisu z edytora i zamknięciem programu pojawia się pytanie
„Arkusz ma niezapisane zmiany. Zapisać projekt?” (Zapisz / Porzuć / Anuluj).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wbudowany edytor po każdym zapisie wczytuje plik ponownie do podglądu; czcionki pól
zostają na swoich miejscach (gdy arkusz ma niezapisane zmiany, program najpierw
o nie zapyta, zanim cokolwiek zapisze). Plik musi trzymać się wzoru: jeden wiersz na jedno pole,
po kolei – najpierw nagłówek baretki, potem jej pola opisów – każdy wiersz zakończony
klawiszem Enter. Znak „@” w wierszu oznacza przejście do nowej linii w polu, a znaki
#, $, ^ i &amp; są drukowane jako symbole par plus/minus (legenda obok edytora).
Zamknięcie edytora z niezapisanymi zmianami zawsze zapyta, co z nimi zrobić.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zmiany czcionki z paska „Czcionka” dotyczą zaznaczonych opisów. Opis zaznacza się
kliknięciem myszy; z wciśniętym klawiszem SHIFT i/lub CTRL można zaznaczyć kilka
opisów i zmieniać je razem. Klawisze Page Up i Page Down zmieniają stronę, Home
i End przechodzą na pierwszą i ostatnią, a numer strony można wpisać we wskaźnik
strony (kliknięcie albo Ctrl+G). Ctrl++ i Ctrl+- powiększają i pomniejszają
podgląd, Ctrl+0 dopasowuje stronę do okna.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jeżeli nie zostanie zaznaczony żaden opis,
zmiany czcionki zostaną zastosowane do wszystkich elementów.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pola, w których nie mieszczą się zadane opisy tekstowe, zaznaczane są kolorem
pomarańczowym i/lub fioletowym, a pasek stanu podaje ich liczbę. Przed wydrukiem
takich pól program pyta, czy drukować mimo to. Czcionka z zaznaczonym
„Autodopasowaniem” sama przyjmuje największy rozmiar do 10, przy którym tekst
się mieści, także po każdej zmianie opisu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dwukrotne kliknięcie lewym przyciskiem myszy na polu otwiera okno edycji tego jednego
opisu. Opisy można też przenosić między polami metodą „przeciągnij i upuść”:
opis razem z czcionką zostaje skopiowany z przeciąganego pola do pola
podświetlonego na żółto. Takie zmiany, jak i zmiany czcionki, można cofnąć
(Ctrl+Z, menu Edycja → Cofnij) i ponowić (Ctrl+Shift+Z), także po zmianie
geometrii lub drukarki – aż do wczytania innego pliku lub projektu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapis projektu tworzy plik „.lmpro” z bieżącą czcionką każdego opisu oraz, w tym samym
miejscu i pod tą samą nazwą, plik „.dat” z bieżącymi tekstami. Otwarcie projektu
wczytuje opisy razem z ich czcionkami. Projekt albo plik z opisami otwiera się też,
przeciągając go z menedżera plików na okno programu albo podając jego nazwę
w wierszu poleceń: lamello plik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik z opisami można też wydrukować bez otwierania okna programu, poleceniem
lamello-batch, na przykład:
   lamello-batch panel.txt -o panel.pdf
   lamello-batch panel.txt -P Warsztat --pages 2-5
   lamello-batch panel.txt -n 10 --label 40x10 --header 52x9 -o panel.pdf
   lamello-batch panel.txt -P Warsztat --shift 0.5,-1 --no-marks
Wszystkie opcje wypisuje lamello-batch --help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lamello %1, kompilacja z dnia: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lamello</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wsuwane opisy (baretki) do paneli czołowych urządzeń</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>przygotowanie, podgląd i wydruk w rzeczywistym rozmiarze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ikony: Tango Desktop Project (domena publiczna)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pomoc - Lamello</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LabelEditDialog</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Krój, rozmiar i styl tego pola, także rozmiar dopasowany samoczynnie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czysty tekst</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Formatowany tekst</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wprowadzony tekst zostanie bezpośrednio zapisany w opisie.
Nie zostanie sformatowany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wprowadzony tekst przed zapisaniem w opisie zostanie sformatowany zgodznie z legendą.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edycja opisu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tekst zawiera znak %1, którego nie można zapisać w kodowaniu Windows-1250.
Usuń go lub zastąp innym znakiem.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Nowe opisy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Otwórz projekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zapisz projekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz projekt &amp;jako…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+SHIFT+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Importuj plik z opisami</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+ALT+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Eksportuj plik z opisami</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+ALT+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zakończ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+Q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edytor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj &amp;bieżącą stronę</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj &amp;wszystkie strony</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+SHIFT+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pomoc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O programie &amp;Lamello</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O &amp;Qt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cofnij</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ponów</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+SHIFT+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasuj &amp;rozmiar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+SHIFT+F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasuj rozmiar (Ctrl+Shift+F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zmniejsza czcionkę zaznaczonych pól, a bez zaznaczenia wszystkich, tak aby tekst mieścił się w ramce</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Następne pole, które się nie mieści</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Poprzednie pole, które się &amp;nie mieści</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ostatnio otwierane</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edycja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dr&amp;ukuj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;omoc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Język pulpitu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj &amp;strony…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj &amp;oznaczenia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Kalibracja drukarki…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powiększ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pomniejsz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasuj stronę do okna</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powiększ (Ctrl++)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pomniejsz (Ctrl+-)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasuj stronę do okna (Ctrl+0)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Akcje</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarka: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czcionka: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strona: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skala: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wybierz drukarkę</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF WBUDOWANA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F1 - Pomoc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powiększenie: 100 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powiększenie: +%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CTRL+ALT+P</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>U</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nawigacja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powiększenie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Geometria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarki „%1” nie ma już w systemie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arkusz ma niezapisane zmiany. Zapisać projekt?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pominięto nazwy, które nie są zapisane w UTF-8 (zmień nazwę pliku): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otwarto tylko pierwszy plik; pominięte: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importuj opisy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik %1 zapisano, ale arkusz go nie wczytał: ma niezapisane zmiany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przed rozpoczęciem pracy należy wybrać drukarkę.
Następnie można zmodyfikować zawartość pól lamello i wydrukować.
Szczegóły znajdziesz w &quot;Pomocy&quot; (F1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kalibracja dotyczy drukarki systemowej.
Wybierz ją najpierw na liście „Drukarka”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisano kalibrację drukarki %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wszystkie pola mieszczą się w ramkach.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie mieści się: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie ma pliku %1.
Usunięto go z listy ostatnio otwieranych.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MyGraphicsItem</name>
    <message>
        <source>Upuszczony tekst zawiera znak %1, którego nie można zapisać w kodowaniu Windows-1250.
Pole nie zostało zmienione.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upuszczenie</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageIndicator</name>
    <message>
        <source>Kliknij, aby wpisać numer strony (Ctrl+G)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie ma pliku %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1: to pętla dowiązań symbolicznych.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tego pliku nie można zastąpić: %1
To plik z opisami albo projekt tego arkusza. Plik nie został zapisany; proszę wybrać inną nazwę.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się na stronie, więc arkusz nie ma pól do zapisania.
Plik nie został zapisany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tekst pola nr %1 zawiera znak %2, którego nie można zapisać w kodowaniu Windows-1250.
Plik nie został zapisany.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eksportuj opisy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Błąd przy próbie utworzenia pliku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obszar wydruku drukarki jest nieprawidłowy; pozostaje poprzedni.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wymiary pól muszą być większe od 0 i nie większe niż %1 mm.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liczba pól baretki musi wynosić od %1 do %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się na stronie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zmiana kroju pisma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zmiana rozmiaru czcionki</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pogrubienie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pochylenie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Podkreślenie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasowanie rozmiaru</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasowano rozmiar: zmieniono %1. Wszystkie pola mieszczą się.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dopasowano rozmiar: zmieniono %1; przy rozmiarze %2 nadal nie mieści się: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stronę</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 strony</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 stron</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukowanie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukować mimo to?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wydrukować %1 na drukarce %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukowanie
strona: %1 z %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wydruk zapisano poprawnie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do drukarki %1 wysłano %2 (zadanie %3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wydruk przerwano; pliku nie zapisano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wydruk przerwano; do drukarki nic nie wysłano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas wydruku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapisz projekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otwórz projekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to nie jest zwykły plik</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Błąd odczytu pliku czcionek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik %1 nie jest plikiem projektu.
Projekt nie został otwarty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik z opisami projektu:
%1
jest pętlą dowiązań symbolicznych.
Projekt nie został otwarty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brak pliku z opisami projektu:
%1
Projekt nie został otwarty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Błąd odczytu pliku z opisami projektu:
%1: %2
Projekt nie został otwarty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zapis projektu %1 został przerwany; dokończono go i otwarto zapisaną wersję.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plik projektu %1 jest uszkodzony: czcionki odczytano dla %2 z %3.
Pozostałe pola mają czcionkę domyślną.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrintJob</name>
    <message>
        <source>Nie można rozpocząć rysowania stron.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można narysować strony %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zakończyć dokumentu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie podano nazwy pliku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarka „%1” nie jest dostępna. Nic nie wydrukowano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można utworzyć pliku tymczasowego: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zapisać pliku tymczasowego: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukarka „%1” nie przyjęła zadania: %2. Nic nie wydrukowano.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrintPagesDialog</name>
    <message>
        <source>Drukuj strony</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Numery stron i zakresy oddzielone przecinkami, np. 1-3,5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drukuj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strony (z %1):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liczba kopii:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kopie są składane: wszystkie wybrane strony po kolei, potem znowu od początku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Za dużo pozycji na liście stron (najwyżej %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Podaj strony od 1 do %1, np. 1-3,5.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PrintSettings</name>
    <message>
        <source>Zapisana kalibracja drukarki „%1” jest nieprawidłowa (wartość spoza zakresu); drukowanie bez kalibracji.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>%1 pola</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Zapisz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Porzuć</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveGeometryDialog</name>
    <message>
        <source>Ustawienia własne nr #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Komunikat</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Zapamiętana geometria baretki jest nieprawidłowa (%1); użyto domyślnej.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wartość nie jest liczbą</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zapisać ustawień programu w pliku %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to pętla dowiązań symbolicznych</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to dowiązanie do pliku, którego nie ma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to dowiązanie do folderu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to dowiązanie do potoku, urządzenia lub gniazda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>plik ma %1, a ustawienia zajmują najwyżej %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bajt</source>
        <comment>one</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bajty</source>
        <comment>few</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bajtów</source>
        <comment>many</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pominięto plik ustawień %1: %2. Program działa z ustawieniami domyślnymi i nie zmieni tego pliku.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać ustawień z pliku %1; przywrócono ustawienia domyślne.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestPage</name>
    <message>
        <source>10 mm od krawędzi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bez kalibracji</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>z kalibracją: przesunięcie %1 mm × %2 mm, skala %3 % × %4 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lamello – strona testowa drukarki %1, wydrukowana %2.

1. Zmierz linijką poziomą podziałkę od kreski 0 do kreski 150 (wzorcowo 150 mm) i pionową od 0 do 250 (wzorcowo 250 mm).
2. Zmierz odległość pionowej kreski znaku w lewym górnym rogu od lewej krawędzi kartki i poziomej kreski od górnej krawędzi (wzorcowo po 10 mm).
3. Wpisz te cztery wymiary w oknie „Kalibracja drukarki…” i naciśnij „Oblicz”: program sam wyznaczy skalę i przesunięcie.
4. Zapisz kalibrację i wydrukuj stronę testową jeszcze raz, aby sprawdzić wynik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lamello: strona testowa</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserGeometryFile</name>
    <message>
        <source>Nazwa nie może zawierać znaków „;;”, które w pliku ustawień oddzielają pola.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nazwa nie może kończyć się znakiem „;”, bo w pliku ustawień po nazwie następuje „;;”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nazwa nie może zawierać znaków sterujących (np. końca wiersza).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Znaku „%1” nie można zapisać w pliku ustawień (kodowanie Windows-1250). Proszę użyć innej nazwy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to nie jest zwykły plik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>plik jest za duży (ponad %1 kB).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: byłby większy niż %2 kB, a większego program nie odczyta.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
