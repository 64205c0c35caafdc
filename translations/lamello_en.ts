<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pl">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Lamello</source>
        <translation>Lamello</translation>
    </message>
    <message>
        <source>Wsuwane opisy (baretki) do paneli czołowych urządzeń: przygotowanie, podgląd i wydruk w rzeczywistym rozmiarze.</source>
        <translation>Slide-in label inserts (barettes) for device front panels: layout, preview and printing at true size.</translation>
    </message>
    <message>
        <source>Licencja: GNU General Public License w wersji 3 lub dowolnej późniejszej (GPL-3.0-or-later). Program jest rozpowszechniany bez żadnej gwarancji.</source>
        <translation>Licence: GNU General Public License, version 3 or any later version (GPL-3.0-or-later). The program comes with absolutely no warranty.</translation>
    </message>
    <message>
        <source>Ikona programu i ikona projektu: narysowane dla Lamello, na licencji programu.
Ikony poleceń: Tango Desktop Project (domena publiczna).
Czcionka symboli TIMES_K: na podstawie Liberation Serif, SIL Open Font License 1.1.</source>
        <translation>Program and project icons: drawn for Lamello, under the program&apos;s licence.
Command icons: Tango Desktop Project (public domain).
Symbol font TIMES_K: based on Liberation Serif, SIL Open Font License 1.1.</translation>
    </message>
    <message>
        <source>Zbudowano z Qt %1.</source>
        <translation>Built with Qt %1.</translation>
    </message>
    <message>
        <source>O programie Lamello</source>
        <translation>About Lamello</translation>
    </message>
</context>
<context>
    <name>AccessibleNames</name>
    <message>
        <source>Zmniejsz czcionkę</source>
        <translation>Decrease font size</translation>
    </message>
    <message>
        <source>Rozmiar czcionki</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>Powiększ czcionkę</source>
        <translation>Increase font size</translation>
    </message>
    <message>
        <source>Pogrubienie</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Pochylenie</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Podkreślenie</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>Poprzednia strona</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Następna strona</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Numer strony</source>
        <translation>Page number</translation>
    </message>
    <message>
        <source>Pomniejsz</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Dopasuj stronę do okna</source>
        <translation>Fit page to window</translation>
    </message>
    <message>
        <source>Powiększ</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Następne pole, które się nie mieści</source>
        <translation>Next field that does not fit</translation>
    </message>
    <message>
        <source>Więcej: %1</source>
        <translation>More: %1</translation>
    </message>
    <message>
        <source>Dopasuj rozmiar</source>
        <translation>Fit size</translation>
    </message>
    <message>
        <source>Poprzednie pasujące pole</source>
        <translation>Previous matching field</translation>
    </message>
    <message>
        <source>Następne pasujące pole</source>
        <translation>Next matching field</translation>
    </message>
    <message>
        <source>Zamknij wyszukiwanie</source>
        <translation>Close find</translation>
    </message>
    <message>
        <source>Wyczyść</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Schemat wymiarów baretki</source>
        <translation>Diagram of the barette&apos;s dimensions</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>to pętla dowiązań symbolicznych.</source>
        <translation>it is a loop of symbolic links.</translation>
    </message>
    <message>
        <source>to jest folder.</source>
        <translation>it is a folder.</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo; nie zostanie zastąpiony.</source>
        <translation>it is not a regular file but a pipe, device or socket; it will not be replaced.</translation>
    </message>
    <message>
        <source>nie ma takiego pliku ani folderu</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>brak uprawnień</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>brak miejsca na dysku</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>wyczerpany przydział miejsca na dysku</source>
        <translation>the disk quota is used up</translation>
    </message>
    <message>
        <source>plik przekroczyłby największy dozwolony rozmiar</source>
        <translation>the file would exceed the largest size allowed</translation>
    </message>
    <message>
        <source>system plików jest tylko do odczytu</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>to jest folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>część ścieżki nie jest folderem</source>
        <translation>part of the path is not a folder</translation>
    </message>
    <message>
        <source>pętla dowiązań symbolicznych</source>
        <translation>a loop of symbolic links</translation>
    </message>
    <message>
        <source>za długa nazwa pliku</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>błąd wejścia-wyjścia urządzenia</source>
        <translation>a device input/output error</translation>
    </message>
    <message>
        <source>za dużo otwartych plików</source>
        <translation>too many open files</translation>
    </message>
</context>
<context>
    <name>BackgroundRead</name>
    <message>
        <source>Wczytywanie pliku %1…</source>
        <translation>Reading %1…</translation>
    </message>
    <message>
        <source>Wczytywanie komórek ze schowka…</source>
        <translation>Reading the cells from the clipboard…</translation>
    </message>
</context>
<context>
    <name>BatchPrint</name>
    <message>
        <source>to pętla dowiązań symbolicznych.</source>
        <translation>it is a loop of symbolic links.</translation>
    </message>
    <message>
        <source>nie można odczytać pliku.</source>
        <translation>the file cannot be read.</translation>
    </message>
    <message>
        <source>Zapisuje wydruk do pliku PDF (strony A4); „-” to standardowe wyjście.</source>
        <translation>Writes the printout to a PDF file (A4 pages); &quot;-&quot; is standard output.</translation>
    </message>
    <message>
        <source>plik.pdf</source>
        <translation>file.pdf</translation>
    </message>
    <message>
        <source>Drukuje na drukarce systemowej (kolejce CUPS).</source>
        <translation>Prints on a system printer (a CUPS queue).</translation>
    </message>
    <message>
        <source>drukarka</source>
        <translation>printer</translation>
    </message>
    <message>
        <source>Drukuje tylko te strony, w kolejności arkusza, np. 2-5,9.</source>
        <translation>Prints only these pages, in the order of the sheet, e.g. 2-5,9.</translation>
    </message>
    <message>
        <source>strony</source>
        <translation>pages</translation>
    </message>
    <message>
        <source>Liczba etykiet na baretce, od 5 do 15 (domyślnie 8).</source>
        <translation>Number of labels per barette, 5 to 15 (default 8).</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Szerokość i wysokość etykiety w mm (domyślnie 37.3x11.2).</source>
        <translation>Width and height of a label in mm (default 37.3x11.2).</translation>
    </message>
    <message>
        <source>SxW</source>
        <translation>WxH</translation>
    </message>
    <message>
        <source>Szerokość i wysokość nagłówka w mm (domyślnie 50.25x8.5).</source>
        <translation>Width and height of the header in mm (default 50.25x8.5).</translation>
    </message>
    <message>
        <source>Drukuje także plik z ponad %1 baretkami.</source>
        <translation>Also prints a file of more than %1 barettes.</translation>
    </message>
    <message>
        <source>Przesuwa wydruk o DX,DY mm (w prawo i w dół, od -%1 do %1) zamiast przesunięcia z kalibracji drukarki.</source>
        <translation>Shifts the printout by DX,DY mm (right and down, -%1 to %1) instead of the printer calibration&apos;s shift.</translation>
    </message>
    <message>
        <source>DX,DY</source>
        <translation>DX,DY</translation>
    </message>
    <message>
        <source>Skaluje wydruk o SX,SY % (od %1 do %2) zamiast skali z kalibracji drukarki.</source>
        <translation>Scales the printout by SX,SY % (%1 to %2) instead of the printer calibration&apos;s scale.</translation>
    </message>
    <message>
        <source>SX,SY</source>
        <translation>SX,SY</translation>
    </message>
    <message>
        <source>Drukuje bez oznaczeń: bez zabarwienia pól z niemieszczącym się tekstem i bez ramki obszaru wydruku.</source>
        <translation>Prints without marks: no tint on fields whose text does not fit and no frame of the printable area.</translation>
    </message>
    <message>
        <source>Język komunikatów: pl (polski) albo en (angielski); domyślnie według LANGUAGE i LANG.</source>
        <translation>Language of the messages: pl (Polish) or en (English); by default from LANGUAGE and LANG.</translation>
    </message>
    <message>
        <source>język</source>
        <translation>language</translation>
    </message>
    <message>
        <source>Pokazuje tę pomoc.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Pokazuje wersję programu.</source>
        <translation>Shows the program&apos;s version.</translation>
    </message>
    <message>
        <source>PLIK</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Pomoc: lamello-batch --help</source>
        <translation>Help: lamello-batch --help</translation>
    </message>
    <message>
        <source>%1: nieznana opcja %2. %3</source>
        <translation>%1: unknown option %2. %3</translation>
    </message>
    <message>
        <source>%1: błędne wywołanie (%2). %3</source>
        <translation>%1: wrong usage (%2). %3</translation>
    </message>
    <message>
        <source>%1: --lang %2: podaj pl albo en. %3</source>
        <translation>%1: --lang %2: give pl or en. %3</translation>
    </message>
    <message>
        <source>Użycie:</source>
        <translation>Usage:</translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>Argumenty:</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>[opcje]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>
Kod wyjścia: 0 gotowe, 1 błędne wywołanie, 2 pliku wejściowego nie można wczytać, 3 wydruk się nie udał.
</source>
        <translation>
Exit status: 0 done, 1 wrong usage, 2 the input file cannot be read, 3 the printout failed.
</translation>
    </message>
    <message>
        <source>%1: podaj dokładnie jeden plik z opisami. %2</source>
        <translation>%1: give exactly one descriptions file. %2</translation>
    </message>
    <message>
        <source>%1: podaj albo -o PLIK.pdf, albo -P DRUKARKA. %2</source>
        <translation>%1: give either -o FILE.pdf or -P PRINTER. %2</translation>
    </message>
    <message>
        <source>%1: pusta nazwa pliku PDF. %2</source>
        <translation>%1: empty PDF file name. %2</translation>
    </message>
    <message>
        <source>%1: pusta nazwa drukarki. %2</source>
        <translation>%1: empty printer name. %2</translation>
    </message>
    <message>
        <source>%1: -n %2: liczba etykiet musi być liczbą całkowitą od 5 do 15.</source>
        <translation>%1: -n %2: the number of labels must be a whole number from 5 to 15.</translation>
    </message>
    <message>
        <source>%1: --%2 %3: podaj szerokość i wysokość w mm, np. 37.3x11.2 (każda większa od 0 i najwyżej 100).</source>
        <translation>%1: --%2 %3: give the width and height in mm, e.g. 37.3x11.2 (each above 0 and at most 100).</translation>
    </message>
    <message>
        <source>%1: --pages: za dużo stron na liście (najwyżej %2 pozycji).</source>
        <translation>%1: --pages: too many pages in the list (at most %2 items).</translation>
    </message>
    <message>
        <source>%1: --pages %2: podaj strony od 1 jako listę, np. 2-5,9.</source>
        <translation>%1: --pages %2: give the pages, from 1, as a list, e.g. 2-5,9.</translation>
    </message>
    <message>
        <source>%1: --shift %2: podaj przesunięcie w mm jako DX,DY, np. 1.5,-0.5 (każde od -%3 do %3).</source>
        <translation>%1: --shift %2: give the shift in mm as DX,DY, e.g. 1.5,-0.5 (each from -%3 to %3).</translation>
    </message>
    <message>
        <source>%1: --scale %2: podaj skalę w procentach jako SX,SY, np. 100.2,99.8 (każdą od %3 do %4).</source>
        <translation>%1: --scale %2: give the scale in percent as SX,SY, e.g. 100.2,99.8 (each from %3 to %4).</translation>
    </message>
    <message>
        <source>lamello-batch: -o -: standardowe wyjście to terminal, a PDF nie jest tekstem; podaj -o PLIK.pdf albo przekieruj wyjście do pliku lub potoku.</source>
        <translation>lamello-batch: -o -: standard output is a terminal, and a PDF is not text; give -o FILE.pdf or redirect the output to a file or a pipe.</translation>
    </message>
    <message>
        <source>lamello-batch: -o -: standardowe wyjście jest zamknięte; nic nie zapisano.</source>
        <translation>lamello-batch: -o -: standard output is closed; nothing was written.</translation>
    </message>
    <message>
        <source>lamello-batch: -o %1: to ten sam plik co plik wejściowy %2; nic nie zapisano.</source>
        <translation>lamello-batch: -o %1: this is the same file as the input file %2; nothing was written.</translation>
    </message>
    <message>
        <source>%1: %2: nie ma takiego pliku.</source>
        <translation>%1: %2: no such file.</translation>
    </message>
    <message>
        <source>%1: %2: zapis projektu został przerwany; dokończono go i drukowana jest zapisana wersja.</source>
        <translation>%1: %2: saving the project had been interrupted; the save was completed and the saved version is printed.</translation>
    </message>
    <message>
        <source>%1: %2: to nie jest zwykły plik.</source>
        <translation>%1: %2: not a regular file.</translation>
    </message>
    <message>
        <source>%1: %2: to nie jest plik projektu.</source>
        <translation>%1: %2: not a project file.</translation>
    </message>
    <message>
        <source>%1: %2: plik projektu jest uszkodzony: czcionki odczytano dla %3 z %4; pozostałe pola mają czcionkę domyślną.</source>
        <translation>%1: %2: the project file is damaged: fonts were read for %3 of %4; the other fields have the default font.</translation>
    </message>
    <message>
        <source>%1: %2: plik zawiera %3 (%4), więcej niż %5; aby go wydrukować, dodaj --no-limit.</source>
        <translation>%1: %2: the file holds %3 (%4), more than %5; to print it, add --no-limit.</translation>
    </message>
    <message>
        <source>lamello-batch: strona %1 z %2</source>
        <translation>lamello-batch: page %1 of %2</translation>
    </message>
    <message>
        <source>%1: --pages: strony %2 nie ma; arkusz ma stron: %3.</source>
        <translation>%1: --pages: there is no page %2; pages in the sheet: %3.</translation>
    </message>
    <message>
        <source>%1: standardowe wyjście: nie można zapisać wydruku: %2</source>
        <translation>%1: standard output: cannot write the printout: %2</translation>
    </message>
    <message>
        <source>lamello-batch: drukarka „%1” nie jest dostępna; nic nie wydrukowano.</source>
        <translation>lamello-batch: printer &quot;%1&quot; is not available; nothing was printed.</translation>
    </message>
    <message>
        <source>lamello-batch: przy tej geometrii żadna baretka nie mieści się na stronie.</source>
        <translation>lamello-batch: with this geometry no barette fits on a page.</translation>
    </message>
    <message>
        <source>Arkusz skoroszytu (.ods, .xlsx) do wczytania (domyślnie pierwszy).</source>
        <translation>Sheet of a workbook (.ods, .xlsx) to read (the first by default).</translation>
    </message>
    <message>
        <source>nazwa</source>
        <translation>name</translation>
    </message>
    <message>
        <source>Arkusz: jeden wiersz to jedna baretka (z --header-column i --label-columns).</source>
        <translation>Spreadsheet: one row is one barette (with --header-column and --label-columns).</translation>
    </message>
    <message>
        <source>Arkusz: kolumna nagłówków przy --rows (domyślnie A).</source>
        <translation>Spreadsheet: the column of headers with --rows (A by default).</translation>
    </message>
    <message>
        <source>kolumna</source>
        <translation>column</translation>
    </message>
    <message>
        <source>Arkusz: kolumny etykiet przy --rows, np. B-I; ich liczba to liczba etykiet na baretce.</source>
        <translation>Spreadsheet: the label columns with --rows, e.g. B-I; their number is the number of labels per barette.</translation>
    </message>
    <message>
        <source>zakres</source>
        <translation>range</translation>
    </message>
    <message>
        <source>Arkusz: jedna kolumna czytana z góry na dół, komórka to pole (domyślnie A).</source>
        <translation>Spreadsheet: one column read top to bottom, one field a cell (A by default).</translation>
    </message>
    <message>
        <source>Arkusz: pierwszy wiersz to nagłówki kolumn; nie jest czytany.</source>
        <translation>Spreadsheet: the first row holds column headings and is not read.</translation>
    </message>
    <message>
        <source>Tekst rozdzielany: separator „;”, „,” albo „tab” (domyślnie wykrywany).</source>
        <translation>Delimited text: the delimiter “;”, “,” or “tab” (detected by default).</translation>
    </message>
    <message>
        <source>znak</source>
        <translation>character</translation>
    </message>
    <message>
        <source>Arkusz: znaki, których nie ma w kodowaniu Windows-1250, drukuje jako „?” zamiast odmówić.</source>
        <translation>Spreadsheet: prints characters that Windows-1250 cannot encode as “?” instead of refusing.</translation>
    </message>
    <message>
        <source>Plik z opisami (.txt, .dat), projekt (.lmpro, z plikiem .dat obok) albo arkusz (.ods, .xlsx, .csv, .tsv).</source>
        <translation>A descriptions file (.txt, .dat), a project (.lmpro, with its .dat file beside it) or a spreadsheet (.ods, .xlsx, .csv, .tsv).</translation>
    </message>
    <message>
        <source>%1: opcje arkusza (--sheet, --rows, --column...) dotyczą tylko plików .ods, .xlsx, .csv i .tsv. %2</source>
        <translation>%1: the spreadsheet options (--sheet, --rows, --column...) apply only to .ods, .xlsx, .csv and .tsv files. %2</translation>
    </message>
    <message>
        <source>%1: podaj albo --rows, albo --column. %2</source>
        <translation>%1: give either --rows or --column. %2</translation>
    </message>
    <message>
        <source>%1: --header-column i --label-columns działają z --rows. %2</source>
        <translation>%1: --header-column and --label-columns work with --rows. %2</translation>
    </message>
    <message>
        <source>%1: --delimiter %2: podaj „;”, „,” albo „tab”.</source>
        <translation>%1: --delimiter %2: give “;”, “,” or “tab”.</translation>
    </message>
    <message>
        <source>%1: --column %2: podaj kolumnę literami, np. C.</source>
        <translation>%1: --column %2: give the column in letters, e.g. C.</translation>
    </message>
    <message>
        <source>%1: --header-column %2: podaj kolumnę literami, np. A.</source>
        <translation>%1: --header-column %2: give the column in letters, e.g. A.</translation>
    </message>
    <message>
        <source>%1: --label-columns %2: podaj zakres kolumn, np. B-I.</source>
        <translation>%1: --label-columns %2: give a range of columns, e.g. B-I.</translation>
    </message>
    <message>
        <source>%1: %2: kolumna nagłówków %3 jest jedną z kolumn etykiet %4-%5; podaj inne --header-column albo --label-columns.</source>
        <translation>%1: %2: the header column %3 is one of the label columns %4-%5; give another --header-column or --label-columns.</translation>
    </message>
    <message>
        <source>%1: %2: nie ma arkusza „%3”; są: %4.</source>
        <translation>%1: %2: there is no sheet “%3”; there are: %4.</translation>
    </message>
    <message>
        <source>%1: %2: arkusz jest zbyt duży dla pamięci tego komputera.</source>
        <translation>%1: %2: the spreadsheet is too large for this computer&apos;s memory.</translation>
    </message>
    <message>
        <source>%1: --label-columns %2: %3 etykiet, a baretka ma %4 etykiet (-n).</source>
        <translation>%1: --label-columns %2: %3 of labels, but a barette has %4 labels (-n).</translation>
    </message>
    <message>
        <source>%1: %2: arkusz zawiera %3 (%4), więcej niż %5; aby go wydrukować, dodaj --no-limit.</source>
        <translation>%1: %2: the spreadsheet holds %3 (%4), more than %5; to print it, add --no-limit.</translation>
    </message>
    <message>
        <source>%1: %2: %3 znaki, których nie ma w kodowaniu Windows-1250: %4%5; popraw je albo dodaj --replace-unencodable.</source>
        <translation>%1: %2: %3 characters that Windows-1250 cannot encode: %4%5; correct them or add --replace-unencodable.</translation>
    </message>
    <message>
        <source>%1 kolumna</source>
        <comment>one</comment>
        <translation>%1 column</translation>
    </message>
    <message>
        <source>%1 kolumny</source>
        <comment>few</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>%1 kolumn</source>
        <comment>many</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>%1 komórka zawiera</source>
        <comment>one</comment>
        <translation>%1 cell holds</translation>
    </message>
    <message>
        <source>%1 komórki zawierają</source>
        <comment>few</comment>
        <translation>%1 cells hold</translation>
    </message>
    <message>
        <source>%1 komórek zawiera</source>
        <comment>many</comment>
        <translation>%1 cells hold</translation>
    </message>
    <message>
        <source>Drukuje baretki z pliku z opisami, z projektu albo z arkusza (.ods, .xlsx, .csv, .tsv) bez okna programu: do pliku PDF w rzeczywistym rozmiarze albo na drukarce systemowej.</source>
        <translation>Prints the barettes of a descriptions file, a project or a spreadsheet (.ods, .xlsx, .csv, .tsv) without the program&apos;s window: into a PDF file at true size or on a system printer.</translation>
    </message>
    <message>
        <source>Arkusz: wiersze, w których wszystkie wybrane komórki są puste, dają puste baretki (przy --rows); bez tej opcji są pomijane.</source>
        <translation>Spreadsheet: rows whose chosen cells are all empty give empty barettes (with --rows); without this option they are skipped.</translation>
    </message>
    <message>
        <source>%1: --label-columns %2: %3 etykiet, a baretka ma %4 etykiet; podaj tyle kolumn, ile etykiet, albo liczbę etykiet -n, jeśli pozostałe mają być puste.</source>
        <translation>%1: --label-columns %2: %3 of labels, but a barette has %4 labels; give as many columns as labels, or the label count with -n if the other labels are to stay empty.</translation>
    </message>
    <message>
        <source>%1: %2: z separatorem „%3” każdy wiersz ma jedną kolumnę, a czytane są dalsze kolumny.%4</source>
        <translation>%1: %2: with the delimiter “%3” every row has only one column, but the mapping reads further columns.%4</translation>
    </message>
    <message>
        <source> Plik wygląda na rozdzielany „%1”: --delimiter &apos;%2&apos;.</source>
        <translation> The file looks delimited by “%1”: try --delimiter &apos;%2&apos;.</translation>
    </message>
    <message>
        <source>tabulator</source>
        <translation>tab</translation>
    </message>
    <message>
        <source>%1: %2: %3 „@” (nowa linia) albo symbol „#”, „$”, „^”, „&amp;”: %4%5.</source>
        <translation>%1: %2: %3 “@” (a line break) or a symbol “#”, “$”, “^”, “&amp;”: %4%5.</translation>
    </message>
    <message>
        <source>lamello-batch: %1: ta nazwa nie jest zapisana w UTF-8, a takich nazw plików ani arkuszy program nie obsługuje; zmień ją.
</source>
        <translation>lamello-batch: %1: this name is not written in UTF-8, and the program cannot handle file or sheet names like that; rename it.
</translation>
    </message>
    <message>
        <source>Arkusz: komórki z formułą zapisaną bez wyniku drukuje puste zamiast odmówić.</source>
        <translation>Sheet: print cells holding a formula saved without its result as empty instead of refusing.</translation>
    </message>
    <message>
        <source>%1: %2: %3 formułę zapisaną bez wyniku: %4%5; otwórz skoroszyt w programie arkuszowym i zapisz go (wyniki zostaną zapisane) albo dodaj --empty-formulas, aby wydrukować te komórki puste.</source>
        <translation>%1: %2: %3 a formula saved without its result: %4%5; open the workbook in a spreadsheet program and save it (the results are saved with it), or add --empty-formulas to print these cells empty.</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>Kalibracja drukarki</source>
        <translation>Printer calibration</translation>
    </message>
    <message>
        <source>Korekta wydruku</source>
        <translation>Print correction</translation>
    </message>
    <message>
        <source>Przesunięcie w prawo:</source>
        <translation>Shift to the right:</translation>
    </message>
    <message>
        <source>Przesunięcie w dół:</source>
        <translation>Shift down:</translation>
    </message>
    <message>
        <source>Skala w poziomie:</source>
        <translation>Horizontal scale:</translation>
    </message>
    <message>
        <source>Skala w pionie:</source>
        <translation>Vertical scale:</translation>
    </message>
    <message>
        <source>Pomiar strony testowej</source>
        <translation>Measuring the test page</translation>
    </message>
    <message>
        <source>Strona testowa</source>
        <translation>Test page</translation>
    </message>
    <message>
        <source>Oblicz</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>Wydrukuj stronę testową, zmierz ją linijką i wpisz wyniki:</source>
        <translation>Print the test page, measure it with a ruler and enter the results:</translation>
    </message>
    <message>
        <source>Podziałka pozioma (wzorcowo 150 mm):</source>
        <translation>Horizontal scale bar (nominally 150 mm):</translation>
    </message>
    <message>
        <source>Podziałka pionowa (wzorcowo 250 mm):</source>
        <translation>Vertical scale bar (nominally 250 mm):</translation>
    </message>
    <message>
        <source>Znak od lewej krawędzi (wzorcowo 10 mm):</source>
        <translation>Mark from the left edge (nominally 10 mm):</translation>
    </message>
    <message>
        <source>Znak od górnej krawędzi (wzorcowo 10 mm):</source>
        <translation>Mark from the top edge (nominally 10 mm):</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Bez kalibracji</source>
        <translation>No calibration</translation>
    </message>
    <message>
        <source>Drukarka: %1</source>
        <translation>Printer: %1</translation>
    </message>
    <message>
        <source>Nie wydrukowano strony testowej.</source>
        <translation>The test page was not printed.</translation>
    </message>
    <message>
        <source>Stronę testową wysłano do drukarki %1. Zmierz ją i wpisz wyniki.</source>
        <translation>The test page was sent to printer %1. Measure it and enter the results.</translation>
    </message>
    <message>
        <source>Z tych wymiarów wychodzi korekta poza zakresem (przesunięcie do %1 mm, skala od %2 do %3 %). Sprawdź pomiary.</source>
        <translation>These measurements give a correction outside the allowed range (shift up to %1 mm, scale from %2 to %3 %). Check the measurements.</translation>
    </message>
    <message>
        <source>Korektę obliczono. „Zapisz” zachowuje ją dla drukarki %1.</source>
        <translation>The correction has been calculated. &quot;Save&quot; keeps it for printer %1.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Przygotowuje i drukuje wsuwane opisy (baretki) do paneli czołowych urządzeń.</source>
        <translation>Lays out and prints slide-in label inserts (barettes) for device front panels.</translation>
    </message>
    <message>
        <source>Pokazuje tę pomoc.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Pokazuje wersję programu.</source>
        <translation>Shows the program&apos;s version.</translation>
    </message>
    <message>
        <source>PLIK</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Projekt (.lmpro) albo plik z opisami (.txt, .dat) do otwarcia; z kilku plików otwierany jest pierwszy.</source>
        <translation>A project (.lmpro) or a descriptions file (.txt, .dat) to open; of several files the first is opened.</translation>
    </message>
    <message>
        <source>[PLIK...]</source>
        <translation>[FILE...]</translation>
    </message>
    <message>
        <source>Opcje:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>Argumenty:</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>Użycie: lamello [opcje] [PLIK...]</source>
        <translation>Usage: lamello [options] [FILE...]</translation>
    </message>
    <message>
        <source>nieznana opcja %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>lamello: %1. Pomoc: lamello --help
</source>
        <translation>lamello: %1. Help: lamello --help
</translation>
    </message>
    <message>
        <source>Język okna w tym uruchomieniu: pl (polski) albo en (angielski); wybór z menu „Język / Language” pozostaje zapamiętany.</source>
        <translation>The window&apos;s language for this run: pl (Polish) or en (English); the choice made in the “Język / Language” menu stays as it is.</translation>
    </message>
    <message>
        <source>język</source>
        <translation>language</translation>
    </message>
    <message>
        <source>lamello: --lang %1: podaj pl albo en. Pomoc: lamello --help
</source>
        <translation>lamello: --lang %1: give pl or en. Help: lamello --help
</translation>
    </message>
</context>
<context>
    <name>DescriptionsCheck</name>
    <message>
        <source>%1 baretkę</source>
        <comment>one</comment>
        <translation>%1 barette</translation>
    </message>
    <message>
        <source>%1 baretki</source>
        <comment>few</comment>
        <translation>%1 barettes</translation>
    </message>
    <message>
        <source>%1 baretek</source>
        <comment>many</comment>
        <translation>%1 barettes</translation>
    </message>
    <message>
        <source>%1 strona</source>
        <comment>one</comment>
        <translation>%1 page</translation>
    </message>
    <message>
        <source>%1 strony</source>
        <comment>few</comment>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>%1 stron</source>
        <comment>many</comment>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>Plik zawiera %1 (%2). Wczytać?</source>
        <translation>The file holds %1 (%2). Load it?</translation>
    </message>
    <message>
        <source>„%1” nie jest zwykłym plikiem (to folder, potok lub urządzenie).
Plik z opisami nie został wczytany.</source>
        <translation>&quot;%1&quot; is not a regular file (it is a folder, a pipe or a device).
The descriptions file was not loaded.</translation>
    </message>
    <message>
        <source>Plik „%1” nie jest plikiem tekstowym z opisami: zawiera bajty zerowe albo nie dzieli się na wiersze.
Plik nie został wczytany.</source>
        <translation>The file &quot;%1&quot; is not a text file of descriptions: it contains NUL bytes or is not divided into lines.
The file was not loaded.</translation>
    </message>
    <message>
        <source>Plik „%1” jest zbyt duży: arkusz z niego potrzebowałby około %2 GB pamięci, a dostępne jest %3 GB.
Plik nie został wczytany.</source>
        <translation>The file “%1” is too large: its sheet would need about %2 GB of memory, but only %3 GB is available.
The file was not loaded.</translation>
    </message>
    <message>
        <source>Nie ma pliku %1.</source>
        <translation>There is no file %1.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1: to pętla dowiązań symbolicznych.</source>
        <translation>Cannot read the file %1: it is a loop of symbolic links.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1.</source>
        <translation>Cannot read the file %1.</translation>
    </message>
    <message>
        <source>Schowek zawiera %1 (%2). Wczytać?</source>
        <translation>The clipboard holds %1 (%2). Load it?</translation>
    </message>
    <message>
        <source>Wklejone komórki są zbyt duże: arkusz z nich potrzebowałby około %1 GB pamięci, a dostępne jest %2 GB.
Nic nie zostało wczytane.</source>
        <translation>The pasted cells are too large: their sheet would need about %1 GB of memory, but only %2 GB is available.
Nothing was loaded.</translation>
    </message>
</context>
<context>
    <name>EditPad</name>
    <message>
        <source>Otwórz</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Zapisz jako</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Resetuj</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Plik odczytano
jako UTF-8;
zapis będzie
w Windows-1250.</source>
        <translation>The file was read
as UTF-8;
it will be saved
in Windows-1250.</translation>
    </message>
    <message>
        <source>Nowe opisy</source>
        <translation>New descriptions</translation>
    </message>
    <message>
        <source>To nie jest zwykły plik.</source>
        <translation>This is not a regular file.</translation>
    </message>
    <message>
        <source>Nie udało się otworzyć pliku do odczytu.
%1</source>
        <translation>The file could not be opened for reading.
%1</translation>
    </message>
    <message>
        <source>Plik %1 zawiera bajty NUL (%2), pokazane tutaj jako „%3”.
Na arkuszu każdy z nich kończy tekst swojego pola; dalsza część wiersza nie jest pokazywana.
Zapis zachowuje je bez zmian.</source>
        <translation>The file %1 holds NUL bytes (%2), shown here as &quot;%3&quot;.
On the sheet each of them ends the text of its field; the rest of the line is not shown.
Saving keeps them as they are.</translation>
    </message>
    <message>
        <source>Wczytywanie: %1%</source>
        <translation>Loading: %1%</translation>
    </message>
    <message>
        <source>Czy na pewno chcesz nadpisać oryginalną zawartość pliku?</source>
        <translation>Do you really want to overwrite the file&apos;s original content?</translation>
    </message>
    <message>
        <source>Nie zapisano pliku.
Znaku %1 w wierszu %2 nie można zapisać w kodowaniu Windows-1250. Usuń go lub zastąp innym.</source>
        <translation>The file was not saved.
The character %1 in line %2 cannot be written in the Windows-1250 encoding. Delete it or replace it with another one.</translation>
    </message>
    <message>
        <source>Nie udało się zapisać pliku.
%1
%2</source>
        <translation>The file could not be saved.
%1
%2</translation>
    </message>
    <message>
        <source>Zapisano
%1</source>
        <translation>Saved
%1</translation>
    </message>
    <message>
        <source>Otwórz plik</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Czy na pewno chcesz porzucić wszystkie zmiany?</source>
        <translation>Do you really want to discard all changes?</translation>
    </message>
    <message>
        <source>Tekst zawiera niezapisane zmiany. Zapisać je przed zamknięciem?</source>
        <translation>The text has unsaved changes. Save them before closing?</translation>
    </message>
    <message>
        <source>Opisy, jeden wiersz na pole</source>
        <translation>Descriptions, one line per field</translation>
    </message>
</context>
<context>
    <name>FieldClipboard</name>
    <message>
        <source>&amp;Wytnij pole</source>
        <translation>Cu&amp;t field</translation>
    </message>
    <message>
        <source>Kop&amp;iuj pole</source>
        <translation>&amp;Copy field</translation>
    </message>
    <message>
        <source>W&amp;klej pole</source>
        <translation>Paste fie&amp;ld</translation>
    </message>
    <message>
        <source>Pole wycięte: Ctrl+V przeniesie je do zaznaczonego pola.</source>
        <translation>Field cut: Ctrl+V moves it to the selected field.</translation>
    </message>
    <message>
        <source>Pole skopiowane: Ctrl+V wstawi je do zaznaczonego pola.</source>
        <translation>Field copied: Ctrl+V puts it into the selected field.</translation>
    </message>
    <message>
        <source>Przeniesienie pola</source>
        <translation>Field move</translation>
    </message>
    <message>
        <source>Wklejenie pola</source>
        <translation>Field paste</translation>
    </message>
</context>
<context>
    <name>FieldMenu</name>
    <message>
        <source>E&amp;dytuj pole…</source>
        <translation>E&amp;dit field…</translation>
    </message>
    <message>
        <source>Otwiera okno edycji zaznaczonego pola (Enter, F2)</source>
        <translation>Opens the edit dialog of the selected field (Enter, F2)</translation>
    </message>
    <message>
        <source>&amp;Ustaw czcionkę…</source>
        <translation>F&amp;ont…</translation>
    </message>
    <message>
        <source>Ustawia rozmiar i styl czcionki wszystkich zaznaczonych pól</source>
        <translation>Sets the font size and style of every selected field</translation>
    </message>
    <message>
        <source>Zmiana czcionki</source>
        <translation>Font change</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>&amp;Znajdź:</source>
        <translation>F&amp;ind:</translation>
    </message>
    <message>
        <source>„@” to nowa linia w polu</source>
        <translation>“@” is a line break in the field</translation>
    </message>
    <message>
        <source>Poprzednie (Shift+Enter)</source>
        <translation>Previous (Shift+Enter)</translation>
    </message>
    <message>
        <source>Następne (Enter)</source>
        <translation>Next (Enter)</translation>
    </message>
    <message>
        <source>Uwzględniaj wielkość &amp;liter</source>
        <translation>Match &amp;case</translation>
    </message>
    <message>
        <source>&amp;Całe pole</source>
        <translation>&amp;Whole field</translation>
    </message>
    <message>
        <source>Zamknij (Esc)</source>
        <translation>Close (Esc)</translation>
    </message>
    <message>
        <source>Nie znaleziono</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Znaleziono: %1</source>
        <translation>Found: %1</translation>
    </message>
    <message>
        <source>%1 z %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Zamień &amp;na:</source>
        <translation>Replace wi&amp;th:</translation>
    </message>
    <message>
        <source>Zamienia w znalezionym polu i szuka następnego (Enter w polu zamiany)</source>
        <translation>Replaces the text in the field found and finds the next one (Enter in the “Replace with” box)</translation>
    </message>
    <message>
        <source>Zamień &amp;wszystko</source>
        <translation>Replace &amp;all</translation>
    </message>
    <message>
        <source>Zamienia we wszystkich pasujących polach arkusza; Ctrl+Z cofa całość</source>
        <translation>Replaces in every matching field of the sheet; Ctrl+Z undoes it all</translation>
    </message>
    <message>
        <source>Zamiana</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Tekst zamiany zawiera znak %1, którego nie można zapisać w kodowaniu Windows-1250.
Nic nie zamieniono; usuń go lub zastąp innym znakiem.</source>
        <translation>The replacement contains the character %1, which cannot be stored in the Windows-1250 encoding.
Nothing was replaced; remove it or use another character.</translation>
    </message>
    <message>
        <source>Zamień wszystko</source>
        <translation>Replace all</translation>
    </message>
    <message>
        <source>Zamieniono; zmienione pola: %1.</source>
        <translation>Replaced; fields changed: %1.</translation>
    </message>
    <message>
        <source>Za&amp;mień</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>Tekst zamiany zawiera znak sterujący (U+%1), którego pole nie może zawierać: zapis pliku by go zgubił.
Nic nie zamieniono; usuń go (nową linię w polu oznacza „@”).</source>
        <translation>The replacement holds a control character (U+%1), which a field cannot hold: saving the file would lose it.
Nothing was replaced; remove it (a new line in a field is written “@”).</translation>
    </message>
    <message>
        <source>Zamianę anulowano; nic nie zmieniono.</source>
        <translation>Replacing cancelled; nothing was changed.</translation>
    </message>
    <message>
        <source>Po zamianie teksty pól zajęłyby około %1 MB pamięci, a dostępne jest około %2 MB.
Nic nie zamieniono; zamień krótszy tekst albo w mniejszej liczbie pól.</source>
        <translation>After the replacement the field texts would take about %1 MB of memory, and about %2 MB is available.
Nothing was replaced; replace with a shorter text or in fewer fields.</translation>
    </message>
    <message>
        <source>Zamienianie w pasujących polach…</source>
        <translation>Replacing in the matching fields…</translation>
    </message>
    <message>
        <source>Za mało pamięci</source>
        <translation>Not enough memory</translation>
    </message>
</context>
<context>
    <name>FitTracker</name>
    <message>
        <source>%1 pole</source>
        <comment>one</comment>
        <translation>%1 field</translation>
    </message>
    <message>
        <source>%1 pola</source>
        <comment>few</comment>
        <translation>%1 fields</translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>many</comment>
        <translation>%1 fields</translation>
    </message>
    <message>
        <source>%1 nie mieści się w ramkach.</source>
        <comment>one</comment>
        <translation>%1 does not fit in its frame.</translation>
    </message>
    <message>
        <source>%1 nie mieszczą się w ramkach.</source>
        <comment>few</comment>
        <translation>%1 do not fit in their frames.</translation>
    </message>
    <message>
        <source>%1 nie mieści się w ramkach.</source>
        <comment>many</comment>
        <translation>%1 do not fit in their frames.</translation>
    </message>
</context>
<context>
    <name>FontDialog</name>
    <message>
        <source>Autodopasowanie</source>
        <translation>Auto-fit</translation>
    </message>
    <message>
        <source>Największy rozmiar do %1, przy którym tekst mieści się w polu</source>
        <translation>The largest size up to %1 at which the text fits in the field</translation>
    </message>
    <message>
        <source>Podkreślenie</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>Pogrubienie</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Pochylenie</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Ustaw</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Zamknij</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Dekoracja</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Rozmiar</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation>Font</translation>
    </message>
</context>
<context>
    <name>FormatsLegend</name>
    <message>
        <source>    Znak
z klawiatury</source>
        <translation>    Key
on the keyboard</translation>
    </message>
    <message>
        <source>    Znak
sformatowany</source>
        <translation>    Printed
symbol</translation>
    </message>
    <message>
        <source>Nowa linia</source>
        <translation>New line</translation>
    </message>
    <message>
        <source> = </source>
        <translation> = </translation>
    </message>
    <message>
        <source>plus i minus w kwadratach</source>
        <translation>plus and minus in squares</translation>
    </message>
    <message>
        <source>plus i minus w kołach</source>
        <translation>plus and minus in circles</translation>
    </message>
    <message>
        <source>plus i minus w trójkątach</source>
        <translation>plus and minus in triangles</translation>
    </message>
    <message>
        <source>plus i minus w rombach</source>
        <translation>plus and minus in diamonds</translation>
    </message>
</context>
<context>
    <name>GbGeometry</name>
    <message>
        <source>Geometria</source>
        <translation>Geometry</translation>
    </message>
    <message>
        <source>Zastosuj</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Usuń</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Określa ilość pól opisowych z wyłączeniem nagłówka.</source>
        <translation>Sets the number of label fields, not counting the header.</translation>
    </message>
    <message>
        <source>Ustawienia predefiniowane:</source>
        <translation>Presets:</translation>
    </message>
    <message>
        <source>Ilość etykiet</source>
        <translation>Label count</translation>
    </message>
    <message>
        <source>Szer. etykiety</source>
        <translation>Label width</translation>
    </message>
    <message>
        <source>Wys.  etykiety</source>
        <translation>Label height</translation>
    </message>
    <message>
        <source>Szer.  nagłówka</source>
        <translation>Header width</translation>
    </message>
    <message>
        <source>Wys.  nagłówka</source>
        <translation>Header height</translation>
    </message>
    <message>
        <source>Użytkownika</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>Własne ustawienia są zapisywane w pliku:
%1</source>
        <translation>Your own presets are saved in the file:
%1</translation>
    </message>
    <message>
        <source>Tej geometrii nie można zastosować.
%1</source>
        <translation>This geometry cannot be applied.
%1</translation>
    </message>
    <message>
        <source>Ustawienia o podanej nazwie juz istnieją.
Czy nadpisać?</source>
        <translation>A preset of this name already exists.
Overwrite it?</translation>
    </message>
    <message>
        <source>Nadpisz</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ustawień „%1” nie zapisano.
%2</source>
        <translation>The preset &quot;%1&quot; was not saved.
%2</translation>
    </message>
    <message>
        <source>Czy na pewno usunąć ustawienia:
%1</source>
        <translation>Do you really want to delete the preset:
%1</translation>
    </message>
    <message>
        <source>Ustawień „%1” nie usunięto.
%2</source>
        <translation>The preset &quot;%1&quot; was not deleted.
%2</translation>
    </message>
</context>
<context>
    <name>GeometryPreset</name>
    <message>
        <source>Ilość etykiet musi wynosić od %1 do %2.</source>
        <translation>The number of labels must be between %1 and %2.</translation>
    </message>
    <message>
        <source>Szerokość i wysokość etykiety i nagłówka muszą być większe od zera i nie większe niż %1 mm.</source>
        <translation>The width and height of the label and the header must be above zero and at most %1 mm.</translation>
    </message>
    <message>
        <source>Baretka o tej szerokości nie mieści się na stronie A4.</source>
        <translation>A barette of this width does not fit on an A4 page.</translation>
    </message>
    <message>
        <source>Baretka o tej wysokości nie mieści się na stronie A4.</source>
        <translation>A barette of this height does not fit on an A4 page.</translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>Lamello służy do szybkiego przygotowania wsuwanych opisów (baretek) do paneli
czołowych urządzeń. Geometrię baretki (liczbę pól, wymiary pola opisu i nagłówka)
można ustawić w panelu „Geometria”, więc program przygotuje także własne wkładki.</source>
        <translation>Lamello quickly prepares slide-in label inserts (barettes) for the front panels
of devices. The geometry of a barette (the number of fields, the sizes of the label
and header fields) is set in the &quot;Geometry&quot; panel, so the program makes your own inserts too.</translation>
    </message>
    <message>
        <source>Arkusz pamięta każdą zmianę tekstu i czcionki. Zmiana geometrii, liczby etykiet
lub drukarki tylko rozmieszcza pola na nowo: teksty, czcionki i historia zmian
zostają, więc poprawki można robić w dowolnej chwili. Gwiazdka w tytule okna
oznacza niezapisane zmiany; przed importem innego pliku, otwarciem projektu,
wczytaniem zapisu z edytora i zamknięciem programu pojawia się pytanie
„Arkusz ma niezapisane zmiany. Zapisać projekt?” (Zapisz / Porzuć / Anuluj).</source>
        <translation>The sheet keeps every change of text and font. Another geometry, number of labels
or printer only lays the fields out anew: the texts, the fonts and the history
of changes stay, so corrections can be made at any time. An asterisk in the window&apos;s
title marks unsaved changes; before another file is imported, a project is opened,
a save of the editor is loaded or the program is closed, it asks
&quot;The sheet has unsaved changes. Save the project?&quot; (Save / Discard / Cancel).</translation>
    </message>
    <message>
        <source>Wbudowany edytor po każdym zapisie wczytuje plik ponownie do podglądu; czcionki pól
zostają na swoich miejscach (gdy arkusz ma niezapisane zmiany, program najpierw
o nie zapyta, zanim cokolwiek zapisze). Plik musi trzymać się wzoru: jeden wiersz na jedno pole,
po kolei – najpierw nagłówek baretki, potem jej pola opisów – każdy wiersz zakończony
klawiszem Enter. Znak „@” w wierszu oznacza przejście do nowej linii w polu, a znaki
#, $, ^ i &amp; są drukowane jako symbole par plus/minus (legenda obok edytora).
Zamknięcie edytora z niezapisanymi zmianami zawsze zapyta, co z nimi zrobić.</source>
        <translation>After every save the built-in editor loads the file into the preview again; the fields&apos;
fonts stay in their places (when the sheet has unsaved changes, the program asks
about them before it writes anything). The file must follow the pattern: one line per field,
in order – first the barette&apos;s header, then its label fields – each line ended
with the Enter key. The character &quot;@&quot; in a line starts a new line in the field, and the characters
#, $, ^ and &amp; are printed as plus/minus symbol pairs (see the legend beside the editor).
Closing the editor with unsaved changes always asks what to do with them.</translation>
    </message>
    <message>
        <source>Jeżeli nie zostanie zaznaczony żaden opis,
zmiany czcionki zostaną zastosowane do wszystkich elementów.</source>
        <translation>When no description is selected,
font changes apply to every field.</translation>
    </message>
    <message>
        <source>Pola, w których nie mieszczą się zadane opisy tekstowe, zaznaczane są kolorem
pomarańczowym i/lub fioletowym, a pasek stanu podaje ich liczbę. Przed wydrukiem
takich pól program pyta, czy drukować mimo to. Czcionka z zaznaczonym
„Autodopasowaniem” sama przyjmuje największy rozmiar do 10, przy którym tekst
się mieści, także po każdej zmianie opisu.</source>
        <translation>Fields whose text does not fit are tinted orange and/or violet,
and the status bar gives their number. Before such fields are printed
the program asks whether to print anyway. A font with &quot;Auto-fit&quot;
checked takes by itself the largest size up to 10 at which the text
fits, again after every change of the description.</translation>
    </message>
    <message>
        <source>Dwukrotne kliknięcie lewym przyciskiem myszy na polu otwiera okno edycji tego jednego
opisu. Opisy można też przenosić między polami metodą „przeciągnij i upuść”:
opis razem z czcionką zostaje skopiowany z przeciąganego pola do pola
podświetlonego na żółto. Takie zmiany, jak i zmiany czcionki, można cofnąć
(Ctrl+Z, menu Edycja → Cofnij) i ponowić (Ctrl+Shift+Z), także po zmianie
geometrii lub drukarki – aż do wczytania innego pliku lub projektu.</source>
        <translation>A double click with the left mouse button on a field opens the editing window for that one
description. Descriptions can also be moved between fields by drag and drop:
the description and its font are copied from the dragged field to the field
highlighted in yellow. Such changes, like font changes, can be undone
(Ctrl+Z, menu Edit → Undo) and redone (Ctrl+Shift+Z), also after a change of
geometry or printer – until another file or project is loaded.</translation>
    </message>
    <message>
        <source>Zapis projektu tworzy plik „.lmpro” z bieżącą czcionką każdego opisu oraz, w tym samym
miejscu i pod tą samą nazwą, plik „.dat” z bieżącymi tekstami. Otwarcie projektu
wczytuje opisy razem z ich czcionkami. Projekt albo plik z opisami otwiera się też,
przeciągając go z menedżera plików na okno programu albo podając jego nazwę
w wierszu poleceń: lamello plik.</source>
        <translation>Saving a project writes a &quot;.lmpro&quot; file with the current font of every description and,
in the same place under the same name, a &quot;.dat&quot; file with the current texts. Opening
a project loads the descriptions with their fonts. A project or a descriptions file also opens
when it is dragged from a file manager onto the program&apos;s window or named
on the command line: lamello file.</translation>
    </message>
    <message>
        <source>Plik z opisami można też wydrukować bez otwierania okna programu, poleceniem
lamello-batch, na przykład:
   lamello-batch panel.txt -o panel.pdf
   lamello-batch panel.txt -P Warsztat --pages 2-5
   lamello-batch panel.txt -n 10 --label 40x10 --header 52x9 -o panel.pdf
   lamello-batch panel.txt -P Warsztat --shift 0.5,-1 --no-marks
Wszystkie opcje wypisuje lamello-batch --help.</source>
        <translation>A descriptions file can also be printed without opening the program&apos;s window, with the
command lamello-batch, for example:
   lamello-batch panel.txt -o panel.pdf
   lamello-batch panel.txt -P Workshop --pages 2-5
   lamello-batch panel.txt -n 10 --label 40x10 --header 52x9 -o panel.pdf
   lamello-batch panel.txt -P Workshop --shift 0.5,-1 --no-marks
lamello-batch --help lists every option.</translation>
    </message>
    <message>
        <source>Lamello %1, kompilacja z dnia: %2</source>
        <translation>Lamello %1, built on %2</translation>
    </message>
    <message>
        <source>Lamello</source>
        <translation>Lamello</translation>
    </message>
    <message>
        <source>Wsuwane opisy (baretki) do paneli czołowych urządzeń</source>
        <translation>Slide-in label inserts (barettes) for device front panels</translation>
    </message>
    <message>
        <source>przygotowanie, podgląd i wydruk w rzeczywistym rozmiarze</source>
        <translation>layout, preview and printing at true size</translation>
    </message>
    <message>
        <source>Ikony: Tango Desktop Project (domena publiczna)</source>
        <translation>Icons: Tango Desktop Project (public domain)</translation>
    </message>
    <message>
        <source>Pomoc - Lamello</source>
        <translation>Help - Lamello</translation>
    </message>
    <message>
        <source>Zmiany czcionki z paska „Czcionka” dotyczą zaznaczonych opisów. Opis zaznacza się
kliknięciem myszy; z wciśniętym klawiszem SHIFT i/lub CTRL można zaznaczyć kilka
opisów i zmieniać je razem. Zaznaczenie przesuwają też strzałki: w górę i w dół
po polach baretki i dalej do baretki powyżej lub poniżej, w lewo i w prawo do tego
samego pola sąsiedniej baretki, także na sąsiedniej stronie; Home i End zaznaczają
pierwsze i ostatnie pole strony. Strzałki z SHIFT zaznaczają prostokąt pól od pola,
przy którym je wciśnięto. Esc albo kliknięcie w puste miejsce strony usuwa zaznaczenie.
Enter lub F2 otwiera okno edycji zaznaczonego opisu (pierwszego z kilku); w nim
Ctrl+Enter zatwierdza tekst, a sam Enter zaczyna nową linię. Klawisze Page Up i Page Down zmieniają
stronę, Ctrl+Home i Ctrl+End przechodzą na pierwszą i ostatnią, a numer strony
można wpisać we wskaźnik strony (kliknięcie albo Ctrl+G). Ctrl++ i Ctrl+-
powiększają i pomniejszają podgląd, Ctrl+0 dopasowuje stronę do okna.</source>
        <translation>The font changes of the &quot;Font&quot; bar apply to the selected descriptions. A description is
selected with a mouse click; holding SHIFT and/or CTRL selects several descriptions
to change them together. The arrow keys move the selection too: up and down
through a barette&apos;s fields and on to the barette above or below, left and right to the
same field of the neighbouring barette, also on the neighbouring page; Home and End select
the first and the last field of the page. Arrows with SHIFT select the rectangle of fields
from the field where they began. Esc or a click on an empty part of the page clears the selection.
Enter or F2 opens the edit window of the selected description (the first of several); there
Ctrl+Enter confirms the text, and Enter alone starts a new line. Page Up and Page Down change
the page, Ctrl+Home and Ctrl+End go to the first and the last, and a page number
can be typed into the page indicator (a click or Ctrl+G). Ctrl++ and Ctrl+-
zoom the preview in and out, Ctrl+0 fits the page to the window.</translation>
    </message>
    <message>
        <source>Znajdź (Ctrl+F, menu Edycja) otwiera pod arkuszem pasek wyszukiwania. Szuka we wszystkich
polach arkusza, także na stronach jeszcze nieoglądanych: znalezione pole zostaje zaznaczone,
a jego strona pokazana. Enter przechodzi do następnego pola, Shift+Enter do poprzedniego
(za ostatnim jest znowu pierwsze), a licznik mówi, które to z ilu („3 z 17”).
„Uwzględniaj wielkość liter” odróżnia „Pompa” od „POMPA”; „Całe pole” znajduje tylko pola,
których tekst jest dokładnie taki jak wpisany. Znak „@” w szukanym tekście oznacza
nową linię w polu, jak w pliku z opisami: „Awaria@P3” znajduje pole z „Awaria” w jednej
linii i „P3” w następnej (spacja nie zastępuje nowej linii). Esc zamyka pasek i wraca
do arkusza; F3 nadal pokazuje pola, które się nie mieszczą.</source>
        <translation>Find (Ctrl+F, Edit menu) opens the find bar under the sheet. It searches every field
of the sheet, on pages not yet viewed too: the field found is selected and its page shown.
Enter goes to the next field, Shift+Enter to the previous one (after the last comes the
first again), and the count says which of how many it is (“3 of 17”).
“Match case” tells “Pompa” from “POMPA”; “Whole field” finds only fields whose text
is exactly as typed. An “@” in the query stands for a new line in a field, as in the
descriptions file: “Awaria@P3” finds a field with “Awaria” on one line and “P3” on
the next (a space does not stand for a new line). Esc closes the bar and returns
to the sheet; F3 still shows the fields that do not fit.</translation>
    </message>
    <message>
        <source>Całą pracę można wykonać samą klawiaturą. Tab i Shift+Tab przechodzą między
kontrolkami okna, także w oknie edycji opisu i w podglądzie importu; polecenia
paska „Akcje” i „Dopasuj rozmiar” mają pozycje w menu ze skrótami, a przyciski
ukryte w wąskim oknie za „»” pokazuje ten przycisk. Opis razem z czcionką
przenosi się do innego pola klawiszami Ctrl+X na zaznaczonym polu i Ctrl+V na polu
docelowym (Ctrl+C zamiast Ctrl+X kopiuje); Ctrl+Z cofa to jednym krokiem.
Arkusz z fokusem ma ramkę, pole, na którym jest klawiatura, ramkę przerywaną,
zaznaczone pola grubą ciemną ramkę, a pola, w których opis się nie mieści,
ciemny róg – obok dotychczasowych kolorów.
Czytnik ekranu (np. Orca) odczytuje arkusz jako listę pól: tekst pola, jego miejsce
(„baretka 3, etykieta 5, strona 2”) i „nie mieści się”, gdy opis wychodzi poza
ramkę; każde przesunięcie zaznaczenia jest ogłaszane, a pola stron jeszcze
niepokazanych też można odczytać. Przyciski pasków mają nazwy, pola geometrii
są odczytywane z własnymi etykietami, a B, I i U podają, czy są włączone.</source>
        <translation>All the work can be done with the keyboard alone. Tab and Shift+Tab move between
the window&apos;s controls, also in the field edit dialog and in the import preview; the
commands of the “Actions” bar and “Fit size” have menu entries with shortcuts, and the
controls hidden in a narrow window are shown by its “»” button. A description moves
to another field with its font by Ctrl+X on the selected field and Ctrl+V on the target
field (Ctrl+C instead of Ctrl+X copies); Ctrl+Z undoes it in one step.
The sheet has a frame when it has the focus, the field the keyboard is on a dashed frame,
selected fields a thick dark frame and fields whose description does not fit a dark corner,
beside the usual colours.
A screen reader (such as Orca) reads the sheet as a list of fields: the field&apos;s text, its place
(“barette 3, label 5, page 2”) and “does not fit” when the description runs past its
frame; every move of the selection is announced, and the fields of pages not shown yet
can be read too. The bars&apos; buttons have names, the geometry fields are read with their
own labels, and B, I and U tell whether they are on.</translation>
    </message>
    <message>
        <source>Wypełnij serią… (menu Edycja i menu pola) wpisuje do zaznaczonych pól kolejne wartości
wzoru, w porządku czytania: w dół baretki, potem następna baretka i następna strona.
Przy jednym zaznaczonym polu okno pyta, ile pól od niego wypełnić (także na dalszych
stronach) i czy pominąć nagłówki baretek. Tekst wzoru jest przepisywany, „@” to nowa
linia, „{{” i „}}” to nawiasy, a w nawiasach są liczniki: {1} – liczby od 1 bez końca;
{0-7} – od 0 do 7 i znowu od 0, a licznik po lewej rośnie wtedy o 1 (Q{0}.{0-7} daje
Q0.0 … Q0.7, Q1.0 …); {01-16} – zera z przodu ustalają liczbę cyfr; {A} – litery
A … Z, AA, AB …; {a} – małe litery; {A-H} – litery od A do H i znowu od A. Z pola na pole
rośnie tylko licznik najbardziej po prawej. Okno pokazuje pierwsze wartości, a błąd we
wzorze wskazuje numerem znaku. Każde pole zachowuje czcionkę, pasek stanu podaje,
ile pól wypełniono, a całość cofa jedno Ctrl+Z.</source>
        <translation>Fill with a series… (Edit menu and the field menu) writes the successive values of a
pattern into the selected fields, in reading order: down a barette, then the next barette
and the next page. With one field selected, the dialog asks how many fields from it on to
fill (on later pages too) and whether to leave out barette headers. The pattern&apos;s text is
written as it stands, “@” is a new line, “{{” and “}}” are braces, and braces hold
counters: {1} – numbers from 1 without end; {0-7} – from 0 to 7 and from 0 again, the
counter on the left then going up by 1 (Q{0}.{0-7} gives Q0.0 … Q0.7, Q1.0 …); {01-16} –
leading zeros set the number of digits; {A} – letters A … Z, AA, AB …; {a} – lower case;
{A-H} – letters A to H and A again. From field to field only the rightmost counter goes
up. The dialog shows the first values and points at a fault in the pattern by its
character number. Every field keeps its font, the status bar says how many fields were
filled, and one Ctrl+Z undoes it all.</translation>
    </message>
    <message>
        <source>Prawy przycisk myszy na polu, klawisz Menu albo Shift+F10 otwiera menu pola: edycja
i czcionka pola, wytnij, kopiuj i wklej pole, dopasowanie rozmiaru i wypełnienie serią.
Prawy klik na zaznaczonym polu zostawia całe zaznaczenie, na innym polu zaznacza tylko
to pole. „Ustaw czcionkę…” nadaje wszystkim zaznaczonym polom rozmiar i styl wybrane
w oknie czcionki; każde pole zachowuje swój krój, a całość cofa jedno Ctrl+Z.</source>
        <translation>The right mouse button on a field, the Menu key or Shift+F10 opens the field menu:
edit the field and its font, cut, copy and paste the field, fit the size and fill with a
series. A right click on a selected field keeps the whole selection, on another field
selects only that field. “Font…” gives all the selected fields the size and style chosen
in the font dialog; every field keeps its typeface, and one Ctrl+Z undoes it all.</translation>
    </message>
    <message>
        <source>Niezapisane zmiany arkusza trafiają chwilę po każdej zmianie do kopii zapasowej
w folderze danych użytkownika (~/.local/share/Lamello/lamello/recovery). Zapis,
porzucenie zmian albo zwykłe zamknięcie programu ją usuwa. Po awarii, zabiciu programu
lub zaniku zasilania następne uruchomienie proponuje przywrócenie arkusza: tekstów,
czcionek, geometrii wkładek i, dla arkusza z pliku kalkulacyjnego, ustawień importu,
z którymi F5 wczytuje go ponownie (bez historii cofania); „Później” zostawia kopię
do następnego uruchomienia.</source>
        <translation>A moment after every change, the sheet&apos;s unsaved changes go to a recovery copy
in the user&apos;s data folder (~/.local/share/Lamello/lamello/recovery). A save,
discarding the changes or closing the program normally removes it. After a crash, a kill
or a power cut, the next start offers to restore the sheet: its texts, fonts, insert
geometry and, for a sheet from a spreadsheet, the import settings with which F5 reads
it again (without its undo history); &quot;Later&quot; keeps the copy for the next start.</translation>
    </message>
    <message>
        <source>Struktura paska menu, wyjaśnienie opcji
1. Plik
   Nowe opisy (Ctrl+N) – otwiera pusty wbudowany edytor dla nowego pliku z opisami.
   Otwórz projekt (Ctrl+O) – wczytuje zapisany projekt (*.lmpro) z jego opisami
   i czcionkami.
   Zapisz projekt (Ctrl+S) – zapisuje bieżące opisy razem z czcionkami do otwartego
   projektu, bez pytania o nazwę; Zapisz projekt jako… (Ctrl+Shift+S) zawsze pyta.
   Importuj plik z opisami (Ctrl+Alt+O) – wczytuje opisy z pliku *.txt lub *.dat.
   Eksportuj plik z opisami (Ctrl+Alt+S) – zapisuje bieżące opisy do pliku *.txt lub *.dat.
   Importuj arkusz… – wczytuje baretki z arkusza ODS, XLSX albo CSV: jeden wiersz
   to baretka (kolumna nagłówków i kolumny etykiet) albo jedna kolumna to kolejne pola.
   Wczytaj ponownie (F5) – wczytuje ostatni arkusz jeszcze raz, z tym samym wyborem kolumn.
   Eksportuj jako CSV… – zapisuje arkusz jako CSV (UTF-8, „;”), wiersz to baretka.
   Ostatnio otwierane – ostatnie otwarte i zapisane pliki z opisami i projekty.
   Zakończ (Ctrl+Q) – zamyka program; o niezapisanych zmianach arkusza i edytora
   najpierw zapyta.
2. Edycja
   Cofnij (Ctrl+Z), Ponów (Ctrl+Shift+Z) – cofają i ponawiają zmiany tekstów
   i czcionek pól.
   Edytuj pole… – otwiera okno edycji zaznaczonego pola (także Enter i F2).
   Ustaw czcionkę… – nadaje zaznaczonym polom rozmiar i styl wybrane w oknie czcionki.
   Wytnij pole (Ctrl+X), Kopiuj pole (Ctrl+C), Wklej pole (Ctrl+V) – przenoszą albo
   kopiują tekst pola razem z czcionką do innego pola; dostępne, gdy jest zaznaczone pole.
   Wklej z arkusza (Ctrl+Shift+V) – wczytuje komórki skopiowane z arkusza.
   Znajdź… (Ctrl+F), Zamień… (Ctrl+H) – otwierają pod arkuszem pasek wyszukiwania
   i zamiany (opisany niżej).
   Wypełnij serią… – wpisuje do zaznaczonych pól kolejne wartości wzoru (opis niżej).
   Dopasuj rozmiar (Ctrl+Shift+F) – zmniejsza czcionkę zaznaczonych opisów (bez
   zaznaczenia: wszystkich) do największego rozmiaru, przy którym tekst mieści się
   w polu, nie mniej niż 4; opisy, które się mieszczą, zostają bez zmian.
   Następne pole, które się nie mieści (F3), Poprzednie pole, które się nie mieści
   (Shift+F3) – pokazują stronę z takim polem i zaznaczają je; to samo robi
   kliknięcie napisu „Nie mieści się: …” na pasku stanu.
   Edytor (Ctrl+E) – otwiera wbudowany edytor z ostatnio wczytanym plikiem opisów,
   w takiej postaci, w jakiej leży na dysku: bez zmian zrobionych w podglądzie.
3. Drukuj
   Drukuj bieżącą stronę (Ctrl+P), Drukuj wszystkie strony (Ctrl+Shift+P) – drukują
   na drukarce wybranej na pasku „Drukarka” albo do pliku PDF („PDF WBUDOWANA”).
   Wydruk ma rzeczywiste wymiary: pole o szerokości 37,3 mm ma na papierze 37,3 mm.
   Drukuj strony… (Ctrl+Alt+P) – wybrane strony (np. 1-3,5) w 1 do 99 kopiach,
   składanych po kolei.
   Drukuj oznaczenia – wyłączone zostawia na papierze tylko ramki i teksty pól,
   bez zabarwienia niemieszczących się opisów i bez szarej ramki obszaru wydruku.
   Kalibracja drukarki… – przesunięcie i skala wydruku dla wybranej drukarki,
   wyliczane z pomiaru strony testowej; program stosuje je do każdego wydruku
   na tej drukarce (PDF zawsze ma rzeczywiste wymiary).
4. Pomoc
   Pomoc (F1) – to okno.
   O programie Lamello – wersja, data kompilacji i licencje.
   O Qt – wersja i licencja biblioteki Qt.
   Język / Language – Język pulpitu, Polski albo English: język okna, zmieniany od razu
   i zapamiętywany; lamello --lang en (albo pl) wybiera język na jedno uruchomienie.</source>
        <translation>The menus and their commands
1. File
   New descriptions (Ctrl+N) – opens the built-in editor, empty, for a new descriptions file.
   Open project (Ctrl+O) – loads a saved project (*.lmpro) with its descriptions
   and fonts.
   Save project (Ctrl+S) – saves the current descriptions with their fonts into the
   open project without asking for a name; Save project as… (Ctrl+Shift+S) always asks.
   Import descriptions file (Ctrl+Alt+O) – reads the descriptions from a *.txt or *.dat file.
   Export descriptions file (Ctrl+Alt+S) – writes the current descriptions to a *.txt or *.dat file.
   Import spreadsheet… – reads barettes from an ODS, XLSX or CSV spreadsheet: either each
   row is a barette (a column of headers and columns of labels) or one column holds
   consecutive fields.
   Reload (F5) – reads the last spreadsheet again, with the same choice of columns.
   Export as CSV… – writes the sheet as CSV (UTF-8, “;”), one row per barette.
   Recent files – the descriptions files and projects last opened or saved.
   Quit (Ctrl+Q) – closes the program; it asks first about unsaved changes in the
   sheet and in the editors.
2. Edit
   Undo (Ctrl+Z), Redo (Ctrl+Shift+Z) – undo and redo changes to the fields&apos;
   texts and fonts.
   Edit field… – opens the edit dialog of the selected field (also Enter and F2).
   Font… – gives the selected fields the size and style chosen in the font dialog.
   Cut field (Ctrl+X), Copy field (Ctrl+C), Paste field (Ctrl+V) – move or copy a field&apos;s
   text with its font to another field; available while a field is selected.
   Paste from spreadsheet (Ctrl+Shift+V) – reads cells copied from a spreadsheet.
   Find… (Ctrl+F), Replace… (Ctrl+H) – open the find and replace bar under the sheet
   (described below).
   Fill with a series… – writes successive values of a pattern into the selected fields
   (see below).
   Fit size (Ctrl+Shift+F) – shrinks the font of the selected descriptions (with no
   selection: of all of them) to the largest size at which the text fits in its field,
   but not below 4; descriptions that fit stay as they are.
   Next field that does not fit (F3), Previous field that does not fit
   (Shift+F3) – show the page with such a field and select it; so does a click
   on “Overflowing: …” in the status bar.
   Editor (Ctrl+E) – opens the built-in editor with the descriptions file last loaded,
   as it is on disk: without the changes made in the preview.
3. Print
   Print current page (Ctrl+P), Print all pages (Ctrl+Shift+P) – print on the printer
   chosen in the “Printer” bar or into a PDF file (“BUILT-IN PDF”). The printout is
   true to size: a field 37.3 mm wide is 37.3 mm wide on the paper.
   Print pages… (Ctrl+Alt+P) – the chosen pages (e.g. 1-3,5) in 1 to 99 copies,
   collated.
   Print marks – when off, only the fields&apos; frames and texts reach the paper, without
   the tint of descriptions that do not fit and the grey frame of the printable area.
   Printer calibration… – a shift and scale of the printout for the chosen printer,
   worked out from a measured test page; the program applies them to every printout
   on that printer (a PDF is always true to size).
4. Help
   Help (F1) – this window.
   About Lamello – the version, the build date and the licences.
   About Qt – the version and licence of the Qt library.
   Język / Language – Desktop language, Polski or English: the window&apos;s language, switched
   at once and remembered; lamello --lang en (or pl) chooses the language for one run.</translation>
    </message>
    <message>
        <source>Zamień (Ctrl+H, menu Edycja) dodaje do paska wyszukiwania pole „Zamień na”. „Zamień”
(albo Enter w tym polu) zamienia szukany tekst w znalezionym polu i szuka następnego;
„Zamień wszystko” zamienia go we wszystkich pasujących polach arkusza naraz, a pasek
stanu podaje, ile pól się zmieniło. Każde pole zachowuje swoją czcionkę, a całą zamianę
cofa jedno Ctrl+Z. „@” w tekście zamiany to nowa linia, jak w szukanym tekście. Tekst
ze znakiem, którego nie da się zapisać w pliku z opisami (Windows-1250), nie zostanie
użyty: program nazwie ten znak i niczego nie zmieni. Ctrl+Z w polach paska cofa to,
co zrobiono ostatnio: najpierw zamianę w arkuszu, potem tekst wpisany w polu.</source>
        <translation>Replace (Ctrl+H, Edit menu) adds a “Replace with” box to the find bar. “Replace”
(or Enter in that box) replaces the query in the field found and finds the next one;
“Replace all” replaces it in every matching field of the sheet at once, and the status
bar says how many fields changed. Every field keeps its font, and one Ctrl+Z undoes
the whole replacement. An “@” in the replacement is a line break, as in the query. A text
with a character the descriptions file cannot hold (Windows-1250) is not used:
the program names the character and changes nothing. Ctrl+Z in the bar&apos;s boxes undoes
what was done last: first the replacement in the sheet, then the text typed in the box.</translation>
    </message>
</context>
<context>
    <name>LabelEditDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Krój, rozmiar i styl tego pola, także rozmiar dopasowany samoczynnie</source>
        <translation>Typeface, size and style of this field, also a size fitted automatically</translation>
    </message>
    <message>
        <source>Czysty tekst</source>
        <translation>Plain text</translation>
    </message>
    <message>
        <source>Formatowany tekst</source>
        <translation>Formatted text</translation>
    </message>
    <message>
        <source>Wprowadzony tekst zostanie bezpośrednio zapisany w opisie.
Nie zostanie sformatowany.</source>
        <translation>The text entered is written into the description as it is.
It is not formatted.</translation>
    </message>
    <message>
        <source>Wprowadzony tekst przed zapisaniem w opisie zostanie sformatowany zgodznie z legendą.</source>
        <translation>The text entered is formatted according to the legend before it is written into the description.</translation>
    </message>
    <message>
        <source>Edycja opisu</source>
        <translation>Edit description</translation>
    </message>
    <message>
        <source>Tekst zawiera znak %1, którego nie można zapisać w kodowaniu Windows-1250.
Usuń go lub zastąp innym znakiem.</source>
        <translation>The text holds the character %1, which cannot be written in the Windows-1250 encoding.
Delete it or replace it with another character.</translation>
    </message>
    <message>
        <source>Zapisuje tekst w polu (Ctrl+Enter)</source>
        <translation>Puts the text into the field (Ctrl+Enter)</translation>
    </message>
    <message>
        <source>Tekst pola</source>
        <translation>Field text</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Nowe opisy</source>
        <translation>&amp;New descriptions</translation>
    </message>
    <message>
        <source>CTRL+N</source>
        <translation>CTRL+N</translation>
    </message>
    <message>
        <source>&amp;Otwórz projekt</source>
        <translation>&amp;Open project</translation>
    </message>
    <message>
        <source>CTRL+O</source>
        <translation>CTRL+O</translation>
    </message>
    <message>
        <source>&amp;Zapisz projekt</source>
        <translation>&amp;Save project</translation>
    </message>
    <message>
        <source>CTRL+S</source>
        <translation>CTRL+S</translation>
    </message>
    <message>
        <source>Zapisz projekt &amp;jako…</source>
        <translation>Save project &amp;as…</translation>
    </message>
    <message>
        <source>CTRL+SHIFT+S</source>
        <translation>CTRL+SHIFT+S</translation>
    </message>
    <message>
        <source>&amp;Importuj plik z opisami</source>
        <translation>&amp;Import descriptions file</translation>
    </message>
    <message>
        <source>CTRL+ALT+O</source>
        <translation>CTRL+ALT+O</translation>
    </message>
    <message>
        <source>&amp;Eksportuj plik z opisami</source>
        <translation>&amp;Export descriptions file</translation>
    </message>
    <message>
        <source>CTRL+ALT+S</source>
        <translation>CTRL+ALT+S</translation>
    </message>
    <message>
        <source>CTRL+Q</source>
        <translation>CTRL+Q</translation>
    </message>
    <message>
        <source>&amp;Edytor</source>
        <translation>&amp;Editor</translation>
    </message>
    <message>
        <source>CTRL+E</source>
        <translation>CTRL+E</translation>
    </message>
    <message>
        <source>Drukuj &amp;bieżącą stronę</source>
        <translation>Print &amp;current page</translation>
    </message>
    <message>
        <source>CTRL+P</source>
        <translation>CTRL+P</translation>
    </message>
    <message>
        <source>Drukuj &amp;wszystkie strony</source>
        <translation>Print &amp;all pages</translation>
    </message>
    <message>
        <source>CTRL+SHIFT+P</source>
        <translation>CTRL+SHIFT+P</translation>
    </message>
    <message>
        <source>&amp;Pomoc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>O programie &amp;Lamello</source>
        <translation>About &amp;Lamello</translation>
    </message>
    <message>
        <source>O &amp;Qt</source>
        <translation>About &amp;Qt</translation>
    </message>
    <message>
        <source>Ctrl+G</source>
        <translation>Ctrl+G</translation>
    </message>
    <message>
        <source>&amp;Cofnij</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>CTRL+Z</source>
        <translation>CTRL+Z</translation>
    </message>
    <message>
        <source>&amp;Ponów</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>CTRL+SHIFT+Z</source>
        <translation>CTRL+SHIFT+Z</translation>
    </message>
    <message>
        <source>Dopasuj &amp;rozmiar</source>
        <translation>&amp;Fit size</translation>
    </message>
    <message>
        <source>CTRL+SHIFT+F</source>
        <translation>CTRL+SHIFT+F</translation>
    </message>
    <message>
        <source>Dopasuj rozmiar (Ctrl+Shift+F)</source>
        <translation>Fit size (Ctrl+Shift+F)</translation>
    </message>
    <message>
        <source>Zmniejsza czcionkę zaznaczonych pól, a bez zaznaczenia wszystkich, tak aby tekst mieścił się w ramce</source>
        <translation>Shrinks the font of the selected fields, or of all with no selection, so that the text fits in the frame</translation>
    </message>
    <message>
        <source>&amp;Następne pole, które się nie mieści</source>
        <translation>&amp;Next field that does not fit</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Ostatnio otwierane</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>&amp;Edycja</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Dr&amp;ukuj</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>P&amp;omoc</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Język pulpitu</source>
        <translation>Desktop language</translation>
    </message>
    <message>
        <source>Drukuj &amp;strony…</source>
        <translation>Print &amp;pages…</translation>
    </message>
    <message>
        <source>Drukuj &amp;oznaczenia</source>
        <translation>Print &amp;marks</translation>
    </message>
    <message>
        <source>Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku</source>
        <translation>Prints the tint of fields whose text does not fit and the frame of the printable area</translation>
    </message>
    <message>
        <source>&amp;Kalibracja drukarki…</source>
        <translation>Printer ca&amp;libration…</translation>
    </message>
    <message>
        <source>Powiększ</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Pomniejsz</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Dopasuj stronę do okna</source>
        <translation>Fit page to window</translation>
    </message>
    <message>
        <source>Powiększ (Ctrl++)</source>
        <translation>Zoom in (Ctrl++)</translation>
    </message>
    <message>
        <source>Pomniejsz (Ctrl+-)</source>
        <translation>Zoom out (Ctrl+-)</translation>
    </message>
    <message>
        <source>Dopasuj stronę do okna (Ctrl+0)</source>
        <translation>Fit page to window (Ctrl+0)</translation>
    </message>
    <message>
        <source>Akcje</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>Drukarka: </source>
        <translation>Printer: </translation>
    </message>
    <message>
        <source>Czcionka: </source>
        <translation>Font: </translation>
    </message>
    <message>
        <source>Strona: </source>
        <translation>Page: </translation>
    </message>
    <message>
        <source>Skala: </source>
        <translation>Scale: </translation>
    </message>
    <message>
        <source>Wybierz drukarkę</source>
        <translation>Choose a printer</translation>
    </message>
    <message>
        <source>PDF WBUDOWANA</source>
        <translation>BUILT-IN PDF</translation>
    </message>
    <message>
        <source>F1 - Pomoc</source>
        <translation>F1 - Help</translation>
    </message>
    <message>
        <source>Powiększenie: 100 %</source>
        <translation>Zoom: 100 %</translation>
    </message>
    <message>
        <source>Powiększenie: +%1%</source>
        <translation>Zoom: +%1%</translation>
    </message>
    <message>
        <source>Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)</source>
        <translation>Show the next field that does not fit (F3; previous: Shift+F3)</translation>
    </message>
    <message>
        <source>CTRL+ALT+P</source>
        <translation>CTRL+ALT+P</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>U</source>
        <translation>U</translation>
    </message>
    <message>
        <source>100%</source>
        <translation>100%</translation>
    </message>
    <message>
        <source>Drukarka</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>Czcionka</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Nawigacja</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Powiększenie</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Geometria</source>
        <translation>Geometry</translation>
    </message>
    <message>
        <source>Drukarki „%1” nie ma już w systemie.</source>
        <translation>Printer &quot;%1&quot; is no longer in the system.</translation>
    </message>
    <message>
        <source>Arkusz ma niezapisane zmiany. Zapisać projekt?</source>
        <translation>The sheet has unsaved changes. Save the project?</translation>
    </message>
    <message>
        <source>Pominięto nazwy, które nie są zapisane w UTF-8 (zmień nazwę pliku): %1</source>
        <translation>Names not written in UTF-8 were skipped (rename the file): %1</translation>
    </message>
    <message>
        <source>Otwarto tylko pierwszy plik; pominięte: %1</source>
        <translation>Only the first file was opened; skipped: %1</translation>
    </message>
    <message>
        <source>Importuj opisy</source>
        <translation>Import descriptions</translation>
    </message>
    <message>
        <source>Plik %1 zapisano, ale arkusz go nie wczytał: ma niezapisane zmiany.</source>
        <translation>The file %1 was saved, but the sheet did not load it: the sheet has unsaved changes.</translation>
    </message>
    <message>
        <source>Przed rozpoczęciem pracy należy wybrać drukarkę.
Następnie można zmodyfikować zawartość pól lamello i wydrukować.
Szczegóły znajdziesz w &quot;Pomocy&quot; (F1).</source>
        <translation>Choose a printer before you start.
Then the fields can be edited and printed.
See &quot;Help&quot; (F1) for details.</translation>
    </message>
    <message>
        <source>Kalibracja dotyczy drukarki systemowej.
Wybierz ją najpierw na liście „Drukarka”.</source>
        <translation>Calibration is for a system printer.
Choose one first in the &quot;Printer&quot; list.</translation>
    </message>
    <message>
        <source>Zapisano kalibrację drukarki %1.</source>
        <translation>The calibration of printer %1 was saved.</translation>
    </message>
    <message>
        <source>Wszystkie pola mieszczą się w ramkach.</source>
        <translation>All fields fit in their frames.</translation>
    </message>
    <message>
        <source>Nie mieści się: %1</source>
        <translation>Overflowing: %1</translation>
    </message>
    <message>
        <source>Nie ma pliku %1.
Usunięto go z listy ostatnio otwieranych.</source>
        <translation>There is no file %1.
It was removed from the recent files.</translation>
    </message>
    <message>
        <source>Importuj &amp;arkusz…</source>
        <translation>Import s&amp;preadsheet…</translation>
    </message>
    <message>
        <source>Wczytuje baretki z arkusza ODS, XLSX albo CSV</source>
        <translation>Reads barettes from an ODS, XLSX or CSV spreadsheet</translation>
    </message>
    <message>
        <source>&amp;Wczytaj ponownie</source>
        <translation>&amp;Reload</translation>
    </message>
    <message>
        <source>Wczytuje ostatni arkusz jeszcze raz, z tym samym przyporządkowaniem kolumn</source>
        <translation>Reads the last spreadsheet again, with the same choice of columns</translation>
    </message>
    <message>
        <source>Wklej z &amp;arkusza</source>
        <translation>Paste from spread&amp;sheet</translation>
    </message>
    <message>
        <source>CTRL+SHIFT+V</source>
        <translation>CTRL+SHIFT+V</translation>
    </message>
    <message>
        <source>Wczytuje komórki skopiowane z programu arkuszowego</source>
        <translation>Reads cells copied from a spreadsheet program</translation>
    </message>
    <message>
        <source>Eksportuj jako &amp;CSV…</source>
        <translation>Export as &amp;CSV…</translation>
    </message>
    <message>
        <source>Wklejone z arkusza</source>
        <translation>Pasted from a spreadsheet</translation>
    </message>
    <message>
        <source>Importuj arkusz</source>
        <translation>Import spreadsheet</translation>
    </message>
    <message>
        <source>Arkusze (*.ods *.xlsx *.csv *.tsv *.txt);;Wszystkie pliki (*)</source>
        <translation>Spreadsheets (*.ods *.xlsx *.csv *.tsv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>W pliku %1 nie ma już arkusza „%2”.
Arkusz nie został wczytany.</source>
        <translation>The file %1 no longer has a sheet “%2”.
The spreadsheet was not loaded.</translation>
    </message>
    <message>
        <source>Te komórki zawierają znaki, których nie ma w kodowaniu Windows-1250:
%1

Zamienić je na „?” i wczytać arkusz?</source>
        <translation>These cells contain characters that Windows-1250 cannot encode:
%1

Replace them with “?” and load the spreadsheet?</translation>
    </message>
    <message>
        <source>Zamień na „?”</source>
        <translation>Replace with “?”</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Schowek nie zawiera komórek arkusza.</source>
        <translation>The clipboard holds no spreadsheet cells.</translation>
    </message>
    <message>
        <source>schowek</source>
        <translation>clipboard</translation>
    </message>
    <message>
        <source>Nie ma arkusza ani pliku z opisami do wczytania ponownie.</source>
        <translation>There is no spreadsheet or descriptions file to reload.</translation>
    </message>
    <message>
        <source>Arkusz ma %1 etykiet, a baretka %2 etykiet. Zmienić liczbę etykiet na baretce na %3?</source>
        <translation>The spreadsheet has %1 of labels, but a barette has %2 labels. Change the number of labels per barette to %3?</translation>
    </message>
    <message>
        <source>Arkusz ma %1 etykiet, a baretka tylko %2 etykiet: część tekstów nie zmieściłaby się.
Arkusz nie został wczytany.</source>
        <translation>The spreadsheet has %1 of labels, but a barette has only %2 labels: some texts would not fit.
The spreadsheet was not loaded.</translation>
    </message>
    <message>
        <source>Zamieniono na „?” znaki w %1.</source>
        <translation>The characters in %1 were replaced with “?”.</translation>
    </message>
    <message>
        <source>%1 kolumnę</source>
        <comment>one</comment>
        <translation>%1 column</translation>
    </message>
    <message>
        <source>%1 kolumny</source>
        <comment>few</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>%1 kolumn</source>
        <comment>many</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>… i %1 inna</source>
        <comment>one</comment>
        <translation>… and %1 other</translation>
    </message>
    <message>
        <source>… i %1 inne</source>
        <comment>few</comment>
        <translation>… and %1 others</translation>
    </message>
    <message>
        <source>… i %1 innych</source>
        <comment>many</comment>
        <translation>… and %1 others</translation>
    </message>
    <message>
        <source>%1 komórce</source>
        <comment>one</comment>
        <translation>%1 cell</translation>
    </message>
    <message>
        <source>%1 komórkach</source>
        <comment>few</comment>
        <translation>%1 cells</translation>
    </message>
    <message>
        <source>%1 komórkach</source>
        <comment>many</comment>
        <translation>%1 cells</translation>
    </message>
    <message>
        <source>Za&amp;kończ</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>P&amp;oprzednie pole, które się nie mieści</source>
        <translation>Pre&amp;vious field that does not fit</translation>
    </message>
    <message>
        <source>Arkusz ma %1 etykiet, a baretka %2 etykiet: w każdej baretce %3 pozostanie pustych. Wczytać arkusz?</source>
        <translation>The spreadsheet has %1 of labels, but a barette has %2 labels: %3 in every barette will stay empty. Load the spreadsheet?</translation>
    </message>
    <message>
        <source>Wczytaj</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Teksty projektu wczytano ponownie z arkusza %1; czcionki pól pozostały.</source>
        <translation>The project&apos;s texts were read again from the spreadsheet %1; the fields kept their fonts.</translation>
    </message>
    <message>
        <source>&amp;Znajdź…</source>
        <translation>F&amp;ind…</translation>
    </message>
    <message>
        <source>CTRL+F</source>
        <translation>CTRL+F</translation>
    </message>
    <message>
        <source>Za&amp;mień…</source>
        <translation>Re&amp;place…</translation>
    </message>
    <message>
        <source>CTRL+H</source>
        <translation>CTRL+H</translation>
    </message>
    <message>
        <source>Te komórki zawierają formuły zapisane bez wyników (Lamello nie oblicza formuł):
%1

Otwórz skoroszyt w programie arkuszowym i zapisz go, a wyniki zostaną zapisane w pliku. Wczytać arkusz z tymi komórkami pustymi?</source>
        <translation>These cells hold formulas saved without their results (Lamello does not calculate formulas):
%1

Open the workbook in a spreadsheet program and save it, and the results will be saved in the file. Import the sheet with these cells empty?</translation>
    </message>
    <message>
        <source>Wczytaj puste</source>
        <translation>Import empty</translation>
    </message>
</context>
<context>
    <name>MyGraphicsItem</name>
    <message>
        <source>Upuszczony tekst zawiera znak %1, którego nie można zapisać w kodowaniu Windows-1250.
Pole nie zostało zmienione.</source>
        <translation>The dropped text holds the character %1, which cannot be written in the Windows-1250 encoding.
The field was not changed.</translation>
    </message>
    <message>
        <source>Upuszczenie</source>
        <translation>Drop</translation>
    </message>
</context>
<context>
    <name>PageIndicator</name>
    <message>
        <source>Kliknij, aby wpisać numer strony (Ctrl+G)</source>
        <translation>Click to type a page number (Ctrl+G)</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.</source>
        <translation>The file %1 was read as UTF-8; it will be saved in the Windows-1250 encoding.</translation>
    </message>
    <message>
        <source>Nie ma pliku %1.</source>
        <translation>There is no file %1.</translation>
    </message>
    <message>
        <source>Tego pliku nie można zastąpić: %1
To plik z opisami albo projekt tego arkusza. Plik nie został zapisany; proszę wybrać inną nazwę.</source>
        <translation>This file cannot be replaced: %1
It is the descriptions file or the project of this sheet. The file was not saved; please choose another name.</translation>
    </message>
    <message>
        <source>Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się na stronie, więc arkusz nie ma pól do zapisania.
Plik nie został zapisany.</source>
        <translation>With this geometry and this printable area no barette fits on a page, so the sheet has no fields to save.
The file was not saved.</translation>
    </message>
    <message>
        <source>Tekst pola nr %1 zawiera znak %2, którego nie można zapisać w kodowaniu Windows-1250.
Plik nie został zapisany.</source>
        <translation>The text of field no. %1 holds the character %2, which cannot be written in the Windows-1250 encoding.
The file was not saved.</translation>
    </message>
    <message>
        <source>Eksportuj opisy</source>
        <translation>Export descriptions</translation>
    </message>
    <message>
        <source>Błąd przy próbie utworzenia pliku.</source>
        <translation>The file could not be created.</translation>
    </message>
    <message>
        <source>Zapisano.</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>Obszar wydruku drukarki jest nieprawidłowy; pozostaje poprzedni.</source>
        <translation>The printer&apos;s printable area is not valid; the previous one stays.</translation>
    </message>
    <message>
        <source>Wymiary pól muszą być większe od 0 i nie większe niż %1 mm.</source>
        <translation>Field sizes must be above 0 and at most %1 mm.</translation>
    </message>
    <message>
        <source>Liczba pól baretki musi wynosić od %1 do %2.</source>
        <translation>A barette must have between %1 and %2 fields.</translation>
    </message>
    <message>
        <source>Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się na stronie.</source>
        <translation>With this geometry and this printable area no barette fits on a page.</translation>
    </message>
    <message>
        <source>Zmiana kroju pisma</source>
        <translation>Typeface change</translation>
    </message>
    <message>
        <source>Zmiana rozmiaru czcionki</source>
        <translation>Font size change</translation>
    </message>
    <message>
        <source>Pogrubienie</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Pochylenie</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Podkreślenie</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>Dopasowanie rozmiaru</source>
        <translation>Fit size</translation>
    </message>
    <message>
        <source>Dopasowano rozmiar: zmieniono %1. Wszystkie pola mieszczą się.</source>
        <translation>Size fitted: %1 changed. All fields fit.</translation>
    </message>
    <message>
        <source>Dopasowano rozmiar: zmieniono %1; przy rozmiarze %2 nadal nie mieści się: %3.</source>
        <translation>Size fitted: %1 changed; still not fitting at size %2: %3.</translation>
    </message>
    <message>
        <source>%1 stronę</source>
        <comment>one</comment>
        <translation>%1 page</translation>
    </message>
    <message>
        <source>%1 strony</source>
        <comment>few</comment>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>%1 stron</source>
        <comment>many</comment>
        <translation>%1 pages</translation>
    </message>
    <message>
        <source>Drukowanie</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>Drukować mimo to?</source>
        <translation>Print anyway?</translation>
    </message>
    <message>
        <source>Drukuj</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Wydrukować %1 na drukarce %2?</source>
        <translation>Print %1 on printer %2?</translation>
    </message>
    <message>
        <source>Drukowanie
strona: %1 z %2</source>
        <translation>Printing
page %1 of %2</translation>
    </message>
    <message>
        <source>Wydruk zapisano poprawnie.</source>
        <translation>The printout was saved.</translation>
    </message>
    <message>
        <source>Do drukarki %1 wysłano %2 (zadanie %3).</source>
        <translation>Sent %2 to printer %1 (job %3).</translation>
    </message>
    <message>
        <source>Wydruk przerwano; pliku nie zapisano.</source>
        <translation>Printing was stopped; no file was saved.</translation>
    </message>
    <message>
        <source>Wydruk przerwano; do drukarki nic nie wysłano.</source>
        <translation>Printing was stopped; nothing was sent to the printer.</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas wydruku.</source>
        <translation>An error occurred while printing.</translation>
    </message>
    <message>
        <source>Zapisz projekt</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>Otwórz projekt</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>Błąd odczytu pliku czcionek</source>
        <translation>Error reading the font file</translation>
    </message>
    <message>
        <source>Plik %1 nie jest plikiem projektu.
Projekt nie został otwarty.</source>
        <translation>The file %1 is not a project file.
The project was not opened.</translation>
    </message>
    <message>
        <source>Plik z opisami projektu:
%1
jest pętlą dowiązań symbolicznych.
Projekt nie został otwarty.</source>
        <translation>The project&apos;s descriptions file:
%1
is a loop of symbolic links.
The project was not opened.</translation>
    </message>
    <message>
        <source>Brak pliku z opisami projektu:
%1
Projekt nie został otwarty.</source>
        <translation>The project&apos;s descriptions file is missing:
%1
The project was not opened.</translation>
    </message>
    <message>
        <source>Błąd odczytu pliku z opisami projektu:
%1: %2
Projekt nie został otwarty.</source>
        <translation>Error reading the project&apos;s descriptions file:
%1: %2
The project was not opened.</translation>
    </message>
    <message>
        <source>Zapis projektu %1 został przerwany; dokończono go i otwarto zapisaną wersję.</source>
        <translation>Saving the project %1 had been interrupted; the save was completed and the saved version opened.</translation>
    </message>
    <message>
        <source>Plik projektu %1 jest uszkodzony: czcionki odczytano dla %2 z %3.
Pozostałe pola mają czcionkę domyślną.</source>
        <translation>The project file %1 is damaged: fonts were read for %2 of %3.
The other fields have the default font.</translation>
    </message>
    <message>
        <source>Eksportuj jako CSV</source>
        <translation>Export as CSV</translation>
    </message>
    <message>
        <source>Za mało pamięci na: %1
Arkusz pozostał bez zmian; zapisz pracę, zanim spróbujesz ponownie.</source>
        <translation>Not enough memory for: %1
The sheet has not changed; save your work before you try again.</translation>
    </message>
</context>
<context>
    <name>PrintJob</name>
    <message>
        <source>Nie można rozpocząć rysowania stron.</source>
        <translation>Cannot start drawing the pages.</translation>
    </message>
    <message>
        <source>Nie można narysować strony %1.</source>
        <translation>Cannot draw page %1.</translation>
    </message>
    <message>
        <source>Nie można zakończyć dokumentu.</source>
        <translation>Cannot finish the document.</translation>
    </message>
    <message>
        <source>Nie podano nazwy pliku.</source>
        <translation>No file name was given.</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>Drukarka „%1” nie jest dostępna. Nic nie wydrukowano.</source>
        <translation>Printer &quot;%1&quot; is not available. Nothing was printed.</translation>
    </message>
    <message>
        <source>Nie można utworzyć pliku tymczasowego: %1</source>
        <translation>Cannot create a temporary file: %1</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku tymczasowego: %1</source>
        <translation>Cannot write a temporary file: %1</translation>
    </message>
    <message>
        <source>Drukarka „%1” nie przyjęła zadania: %2. Nic nie wydrukowano.</source>
        <translation>Printer &quot;%1&quot; did not accept the job: %2. Nothing was printed.</translation>
    </message>
</context>
<context>
    <name>PrintPagesDialog</name>
    <message>
        <source>Drukuj strony</source>
        <translation>Print pages</translation>
    </message>
    <message>
        <source>Numery stron i zakresy oddzielone przecinkami, np. 1-3,5</source>
        <translation>Page numbers and ranges separated by commas, e.g. 1-3,5</translation>
    </message>
    <message>
        <source>Drukuj</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Strony (z %1):</source>
        <translation>Pages (of %1):</translation>
    </message>
    <message>
        <source>Liczba kopii:</source>
        <translation>Copies:</translation>
    </message>
    <message>
        <source>Kopie są składane: wszystkie wybrane strony po kolei, potem znowu od początku.</source>
        <translation>Copies are collated: all the chosen pages in order, then again from the start.</translation>
    </message>
    <message>
        <source>Za dużo pozycji na liście stron (najwyżej %1).</source>
        <translation>Too many items in the page list (at most %1).</translation>
    </message>
    <message>
        <source>Podaj strony od 1 do %1, np. 1-3,5.</source>
        <translation>Give pages from 1 to %1, e.g. 1-3,5.</translation>
    </message>
</context>
<context>
    <name>PrintSettings</name>
    <message>
        <source>Zapisana kalibracja drukarki „%1” jest nieprawidłowa (wartość spoza zakresu); drukowanie bez kalibracji.</source>
        <translation>The stored calibration of printer &quot;%1&quot; is not valid (a value out of range); printing without calibration.</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>%1 pola</source>
        <comment>one</comment>
        <translation>%1 field</translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>few</comment>
        <translation>%1 fields</translation>
    </message>
    <message>
        <source>%1 pól</source>
        <comment>many</comment>
        <translation>%1 fields</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Porzuć</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>Nie można przechowywać kopii zapasowych niezapisanych zmian w %1: %2</source>
        <translation>Recovery copies of unsaved changes cannot be kept in %1: %2</translation>
    </message>
    <message>
        <source>to dowiązanie</source>
        <translation>it is a link</translation>
    </message>
    <message>
        <source>to nie jest folder</source>
        <translation>it is not a folder</translation>
    </message>
    <message>
        <source>nie można utworzyć folderu</source>
        <translation>the folder cannot be created</translation>
    </message>
    <message>
        <source>nie można założyć blokady</source>
        <translation>the lock cannot be taken</translation>
    </message>
    <message>
        <source>Kopii zapasowej %1 nie można odczytać: %2.
Odłożono ją jako %3.</source>
        <translation>The recovery copy %1 cannot be read: %2.
It was put aside as %3.</translation>
    </message>
    <message>
        <source>nie ma już tekstów, do których odnoszą się zmiany</source>
        <translation>the texts its changes apply to are gone</translation>
    </message>
    <message>
        <source>bez nazwy</source>
        <translation>untitled</translation>
    </message>
    <message>
        <source>za mało pamięci, by ją odczytać</source>
        <translation>there is not enough memory to read it</translation>
    </message>
    <message>
        <source> (odłożona jako %1)</source>
        <translation> (set aside as %1)</translation>
    </message>
    <message>
        <source> (zostaje na miejscu)</source>
        <translation> (left where it is)</translation>
    </message>
    <message>
        <source> (zostaje dla tamtej wersji)</source>
        <translation> (left for that version)</translation>
    </message>
    <message>
        <source>… i %1 inna</source>
        <comment>one</comment>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>… i %1 inne</source>
        <comment>few</comment>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>… i %1 innych</source>
        <comment>many</comment>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>Nie można zaproponować %1 w folderze %2:
%3</source>
        <translation>%1 in the folder %2 cannot be offered:
%3</translation>
    </message>
    <message>
        <source>%1 kopii zapasowej</source>
        <comment>one</comment>
        <translation>%1 recovery copy</translation>
    </message>
    <message>
        <source>%1 kopii zapasowych</source>
        <comment>few</comment>
        <translation>%1 recovery copies</translation>
    </message>
    <message>
        <source>%1 kopii zapasowych</source>
        <comment>many</comment>
        <translation>%1 recovery copies</translation>
    </message>
    <message>
        <source>Wczytywanie kopii zapasowych…</source>
        <translation>Reading the recovery copies…</translation>
    </message>
    <message>
        <source>komórki ze schowka</source>
        <translation>cells from the clipboard</translation>
    </message>
    <message>
        <source>%1 pole z tekstem</source>
        <comment>one</comment>
        <translation>%1 field with text</translation>
    </message>
    <message>
        <source>%1 pola z tekstem</source>
        <comment>few</comment>
        <translation>%1 fields with text</translation>
    </message>
    <message>
        <source>%1 pól z tekstem</source>
        <comment>many</comment>
        <translation>%1 fields with text</translation>
    </message>
    <message>
        <source>%1 zmienione pole</source>
        <comment>one</comment>
        <translation>%1 changed field</translation>
    </message>
    <message>
        <source>%1 zmienione pola</source>
        <comment>few</comment>
        <translation>%1 changed fields</translation>
    </message>
    <message>
        <source>%1 zmienionych pól</source>
        <comment>many</comment>
        <translation>%1 changed fields</translation>
    </message>
    <message>
        <source>%1, pierwsze: „%2”</source>
        <translation>%1, the first: “%2”</translation>
    </message>
    <message>
        <source>Kopię zapasową %1 przejęło w międzyczasie inne okno Lamello.</source>
        <translation>Another Lamello window has taken over the recovery copy %1 meanwhile.</translation>
    </message>
    <message>
        <source>Kopii zapasowej %1 nie można teraz odczytać: %2.
Zostaje na następne uruchomienie.</source>
        <translation>The recovery copy %1 cannot be read now: %2.
It is kept for the next start.</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>to nie jest kopia zapasowa Lamello</source>
        <translation>it is not a Lamello recovery copy</translation>
    </message>
    <message>
        <source>plik jest uszkodzony</source>
        <translation>the file is damaged</translation>
    </message>
    <message>
        <source>kopię zapisała nowsza wersja programu</source>
        <translation>a newer version of the program wrote it</translation>
    </message>
</context>
<context>
    <name>RecoveryDialog</name>
    <message>
        <source>Lamello nie zostało zamknięte poprawnie. Niezapisane zmiany arkusza zachowały się w kopii zapasowej. Przywrócić arkusz? Historii cofania nie da się przywrócić.</source>
        <translation>Lamello was not closed properly. The unsaved changes of a sheet are kept in a recovery copy. Restore the sheet? Its undo history cannot be restored.</translation>
    </message>
    <message>
        <source>Lamello nie zostało zamknięte poprawnie. Niezapisane zmiany zachowały się w kopiach zapasowych, najnowsza u góry. Wybierz arkusz do przywrócenia; pozostałe kopie można porzucić albo zostawić na później. Historii cofania nie da się przywrócić.</source>
        <translation>Lamello was not closed properly. The unsaved changes are kept in recovery copies, the newest at the top. Choose the sheet to restore; the other copies can be discarded or kept for later. The undo history cannot be restored.</translation>
    </message>
    <message>
        <source>Arkusz</source>
        <translation>Sheet</translation>
    </message>
    <message>
        <source>Zapisana</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>Zawartość</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Przywróć</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Porzuć</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Później</source>
        <translation>Later</translation>
    </message>
</context>
<context>
    <name>RecoveryFolder</name>
    <message>
        <source>to dowiązanie, nie plik</source>
        <translation>it is a link, not a file</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>plik ma %1 MB, więcej niż %2 MB, które może mieć kopia</source>
        <translation>the file is %1 MB, more than the %2 MB a copy may be</translation>
    </message>
    <message>
        <source>jej blokada %1 nie jest zwykłym plikiem; po usunięciu blokady kopia zostanie zaproponowana</source>
        <translation>its lock %1 is not a regular file; once the lock is removed, the copy will be offered</translation>
    </message>
    <message>
        <source>za mało pamięci, by ją odczytać</source>
        <translation>there is not enough memory to read it</translation>
    </message>
</context>
<context>
    <name>SaveGeometryDialog</name>
    <message>
        <source>Ustawienia własne nr #</source>
        <translation>Custom preset no. #</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Zapisz geometrię</source>
        <translation>Save geometry</translation>
    </message>
</context>
<context>
    <name>SeriesDialog</name>
    <message>
        <source>Wypełnij serią</source>
        <translation>Fill with a series</translation>
    </message>
    <message>
        <source>np. Q{0}.{0-7}</source>
        <translation>e.g. Q{0}.{0-7}</translation>
    </message>
    <message>
        <source>Tekst jest przepisywany bez zmian, „@” to nowa linia, a „{{” i „}}” to nawiasy.
{1} – liczby od 1 bez końca; {0-7} – od 0 do 7 i znowu od 0, a licznik
po lewej rośnie o 1; {01-16} – dwie cyfry: 01, 02 … 16; {A} – litery A … Z,
AA, AB …; {a} – małe litery; {A-H} – litery od A do H i znowu od A.
Z pola na pole rośnie tylko licznik najbardziej po prawej.</source>
        <translation>Text is written as it stands, “@” is a line break, and “{{” and “}}” are braces.
{1} – numbers from 1 without end; {0-7} – from 0 to 7 and from 0 again, and
the counter on the left goes up by 1; {01-16} – two digits: 01, 02 … 16; {A} –
letters A … Z, AA, AB …; {a} – lower case; {A-H} – letters A to H and A again.
From field to field only the rightmost counter goes up.</translation>
    </message>
    <message>
        <source>&amp;Wzór:</source>
        <translation>&amp;Pattern:</translation>
    </message>
    <message>
        <source>Pola do wypełnienia:</source>
        <translation>Fields to fill:</translation>
    </message>
    <message>
        <source>&amp;Liczba pól od zaznaczonego:</source>
        <translation>&amp;Number of fields from the selected one:</translation>
    </message>
    <message>
        <source>Pomiń &amp;nagłówki baretek</source>
        <translation>Leave out barette &amp;headers</translation>
    </message>
    <message>
        <source>Pierwsze wartości:</source>
        <translation>First values:</translation>
    </message>
    <message>
        <source>Wypełnij</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Wpisz wzór, np. Q{0}.{0-7}.</source>
        <translation>Type a pattern, e.g. Q{0}.{0-7}.</translation>
    </message>
    <message>
        <source>Znak %1: wzór może mieć najwyżej %2 znaków.</source>
        <translation>Character %1: a pattern may have at most %2 characters.</translation>
    </message>
    <message>
        <source>Znak %1: brak zamykającego „}”.</source>
        <translation>Character %1: no closing “}”.</translation>
    </message>
    <message>
        <source>Znak %1: „}” bez otwierającego „{” (sam nawias to „}}”).</source>
        <translation>Character %1: “}” without an opening “{” (a brace itself is “}}”).</translation>
    </message>
    <message>
        <source>Znak %1: puste nawiasy „{}”.</source>
        <translation>Character %1: empty braces “{}”.</translation>
    </message>
    <message>
        <source>Znak %1: nieznany licznik „%2” (znane to np. {1}, {0-7}, {01-16}, {A}, {a}, {A-H}).</source>
        <translation>Character %1: unknown counter “%2” (known ones are e.g. {1}, {0-7}, {01-16}, {A}, {a}, {A-H}).</translation>
    </message>
    <message>
        <source>Znak %1: liczba może mieć najwyżej %2 cyfr.</source>
        <translation>Character %1: a number may have at most %2 digits.</translation>
    </message>
    <message>
        <source>Znak %1: licznik liter może mieć najwyżej %2 litery.</source>
        <translation>Character %1: a letter counter may have at most %2 letters.</translation>
    </message>
    <message>
        <source>Znak %1: koniec zakresu mniejszy niż początek.</source>
        <translation>Character %1: the end of the range is less than its start.</translation>
    </message>
    <message>
        <source>Znak %1: wzór może mieć najwyżej %2 liczników.</source>
        <translation>Character %1: a pattern may have at most %2 counters.</translation>
    </message>
    <message>
        <source>Znak %1: znaku %2 nie można zapisać w pliku z opisami (Windows-1250).</source>
        <translation>Character %1: the character %2 cannot be written to a descriptions file (Windows-1250).</translation>
    </message>
    <message>
        <source>… (razem %1)</source>
        <translation>… (%1 in all)</translation>
    </message>
</context>
<context>
    <name>SeriesFill</name>
    <message>
        <source>Wypełnij &amp;serią…</source>
        <translation>Fill &amp;with a series…</translation>
    </message>
    <message>
        <source>Wpisuje do zaznaczonych pól kolejne wartości wzoru z licznikami, np. Q{0}.{0-7}</source>
        <translation>Writes the successive values of a pattern with counters, e.g. Q{0}.{0-7}, into the selected fields</translation>
    </message>
    <message>
        <source>Zaznacz pola, które ma wypełnić seria.</source>
        <translation>Select the fields the series is to fill.</translation>
    </message>
    <message>
        <source>Wypełnienie serią</source>
        <translation>Fill with a series</translation>
    </message>
    <message>
        <source>Wypełniono serią; wypełnione pola: %1.</source>
        <translation>Filled with a series; fields filled: %1.</translation>
    </message>
    <message>
        <source>Wypełnianie serią anulowano; nic nie zmieniono.</source>
        <translation>Filling with a series cancelled; nothing was changed.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Zapamiętana geometria baretki jest nieprawidłowa (%1); użyto domyślnej.</source>
        <translation>The stored barette geometry is not valid (%1); the default is used.</translation>
    </message>
    <message>
        <source>wartość nie jest liczbą</source>
        <translation>a value is not a number</translation>
    </message>
    <message>
        <source>Nie można zapisać ustawień programu w pliku %1.</source>
        <translation>Cannot save the program&apos;s settings in the file %1.</translation>
    </message>
    <message>
        <source>to pętla dowiązań symbolicznych</source>
        <translation>it is a loop of symbolic links</translation>
    </message>
    <message>
        <source>to dowiązanie do pliku, którego nie ma</source>
        <translation>it is a link to a file that does not exist</translation>
    </message>
    <message>
        <source>to dowiązanie do folderu</source>
        <translation>it is a link to a folder</translation>
    </message>
    <message>
        <source>to folder</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>to dowiązanie do potoku, urządzenia lub gniazda</source>
        <translation>it is a link to a pipe, device or socket</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo</source>
        <translation>it is not a regular file but a pipe, device or socket</translation>
    </message>
    <message>
        <source>plik ma %1, a ustawienia zajmują najwyżej %2</source>
        <translation>the file has %1, but settings take at most %2</translation>
    </message>
    <message>
        <source>%1 bajt</source>
        <comment>one</comment>
        <translation>%1 byte</translation>
    </message>
    <message>
        <source>%1 bajty</source>
        <comment>few</comment>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>%1 bajtów</source>
        <comment>many</comment>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>Pominięto plik ustawień %1: %2. Program działa z ustawieniami domyślnymi i nie zmieni tego pliku.</source>
        <translation>The settings file %1 was skipped: %2. The program runs with the default settings and will not change that file.</translation>
    </message>
    <message>
        <source>Nie można odczytać ustawień z pliku %1; przywrócono ustawienia domyślne.</source>
        <translation>Cannot read the settings from the file %1; the default settings were restored.</translation>
    </message>
</context>
<context>
    <name>SheetAccessible</name>
    <message>
        <source>pusty nagłówek</source>
        <translation>empty header</translation>
    </message>
    <message>
        <source>pusta etykieta</source>
        <translation>empty label</translation>
    </message>
    <message>
        <source>Arkusz etykiet</source>
        <translation>Label sheet</translation>
    </message>
    <message>
        <source>baretka %1, nagłówek, strona %2</source>
        <translation>barette %1, header, page %2</translation>
    </message>
    <message>
        <source>baretka %1, etykieta %2, strona %3</source>
        <translation>barette %1, label %2, page %3</translation>
    </message>
    <message>
        <source>, nie mieści się</source>
        <translation>, does not fit</translation>
    </message>
    <message>
        <source>Strona %1 z %2; strzałki wybierają pole, Enter je edytuje</source>
        <translation>Page %1 of %2; the arrows select a field, Enter edits it</translation>
    </message>
</context>
<context>
    <name>SheetDocument</name>
    <message>
        <source>Ponawianie: %1…</source>
        <translation>Redoing: %1…</translation>
    </message>
    <message>
        <source>Cofanie: %1…</source>
        <translation>Undoing: %1…</translation>
    </message>
    <message>
        <source>%1…</source>
        <translation>%1…</translation>
    </message>
</context>
<context>
    <name>SheetImport</name>
    <message>
        <source>nowa linia</source>
        <translation>line break</translation>
    </message>
    <message>
        <source>symbol (kwadraty)</source>
        <translation>symbol (squares)</translation>
    </message>
    <message>
        <source>symbol (koła)</source>
        <translation>symbol (circles)</translation>
    </message>
    <message>
        <source>symbol (trójkąty)</source>
        <translation>symbol (triangles)</translation>
    </message>
    <message>
        <source>symbol (romby)</source>
        <translation>symbol (diamonds)</translation>
    </message>
    <message>
        <source>„%1” → %2</source>
        <translation>“%1” → %2</translation>
    </message>
</context>
<context>
    <name>SheetImportDialog</name>
    <message>
        <source>Importuj arkusz – %1</source>
        <translation>Import spreadsheet – %1</translation>
    </message>
    <message>
        <source>średnik ;</source>
        <translation>semicolon ;</translation>
    </message>
    <message>
        <source>przecinek ,</source>
        <translation>comma ,</translation>
    </message>
    <message>
        <source>tabulator</source>
        <translation>tab</translation>
    </message>
    <message>
        <source>Arkusz:</source>
        <translation>Sheet:</translation>
    </message>
    <message>
        <source>Separator:</source>
        <translation>Delimiter:</translation>
    </message>
    <message>
        <source>Wiersz = bareta</source>
        <translation>Row = barette</translation>
    </message>
    <message>
        <source>Kolumna = kolejne pola</source>
        <translation>Column = consecutive fields</translation>
    </message>
    <message>
        <source>Zakres kolumn etykiet, np. B-I; kliknięcie nagłówka kolumny wybiera kolumnę nagłówków, kliknięcie z Shift – ostatnią kolumnę etykiet</source>
        <translation>The range of label columns, e.g. B-I; a click on a column head chooses the header column, a click with Shift the last label column</translation>
    </message>
    <message>
        <source>Puste wiersze jako puste baretki</source>
        <translation>Empty rows as empty barettes</translation>
    </message>
    <message>
        <source>Pierwszy wiersz to nagłówki kolumn</source>
        <translation>The first row holds column headings</translation>
    </message>
    <message>
        <source>Kolumna nagłówków:</source>
        <translation>Header column:</translation>
    </message>
    <message>
        <source>Kolumny etykiet:</source>
        <translation>Label columns:</translation>
    </message>
    <message>
        <source>Kolumna:</source>
        <translation>Column:</translation>
    </message>
    <message>
        <source>Importuj</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Podaj kolumny etykiet jako zakres, np. B-I.</source>
        <translation>Give the label columns as a range, e.g. B-I.</translation>
    </message>
    <message>
        <source>Kolumna nagłówków nie może być jedną z kolumn etykiet.</source>
        <translation>The header column cannot be one of the label columns.</translation>
    </message>
    <message>
        <source>Baretek: %1, etykiet na baretce: %2 (wierszy w arkuszu: %3).</source>
        <translation>Barettes: %1, labels per barette: %2 (rows in the sheet: %3).</translation>
    </message>
    <message>
        <source>Pól: %1, baretek: %2 po %3 etykiet.</source>
        <translation>Fields: %1, barettes: %2 with %3 labels each.</translation>
    </message>
    <message>
        <source>Baretka ma najwyżej %1 etykiet, a wybrano %2.</source>
        <translation>A barette has at most %1 labels, but %2 are chosen.</translation>
    </message>
    <message>
        <source>%1 kolumnę</source>
        <comment>one</comment>
        <translation>%1 column</translation>
    </message>
    <message>
        <source>%1 kolumny</source>
        <comment>few</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>%1 kolumn</source>
        <comment>many</comment>
        <translation>%1 columns</translation>
    </message>
    <message>
        <source>… i %1 inna</source>
        <comment>one</comment>
        <translation>… and %1 other</translation>
    </message>
    <message>
        <source>… i %1 inne</source>
        <comment>few</comment>
        <translation>… and %1 others</translation>
    </message>
    <message>
        <source>… i %1 innych</source>
        <comment>many</comment>
        <translation>… and %1 others</translation>
    </message>
    <message>
        <source>W etykietach „@” to nowa linia, a „#”, „$”, „^” i „&amp;” to symbole. Te komórki zostaną wczytane tak:
%1</source>
        <translation>In labels, “@” is a line break and “#”, “$”, “^” and “&amp;” are symbols. These cells will be read as follows:
%1</translation>
    </message>
    <message>
        <source>Baretek: %1, etykiet na baretce: %2, z arkusza tylko %3; pozostałe będą puste (wierszy w arkuszu: %4).</source>
        <translation>Barettes: %1, labels per barette: %2, only %3 from the sheet; the others will be empty (rows in the sheet: %4).</translation>
    </message>
    <message>
        <source>Podgląd arkusza</source>
        <translation>Spreadsheet preview</translation>
    </message>
    <message>
        <source>Te komórki zawierają formuły zapisane bez wyników (Lamello nie oblicza formuł), więc byłyby puste:
%1
Otwórz skoroszyt w programie arkuszowym i zapisz go – wyniki zostaną zapisane w pliku.</source>
        <translation>These cells hold formulas saved without their results (Lamello does not calculate formulas), so they would be empty:
%1
Open the workbook in a spreadsheet program and save it: the results will be saved in the file.</translation>
    </message>
</context>
<context>
    <name>TestPage</name>
    <message>
        <source>10 mm od krawędzi</source>
        <translation>10 mm from the edges</translation>
    </message>
    <message>
        <source>bez kalibracji</source>
        <translation>without calibration</translation>
    </message>
    <message>
        <source>z kalibracją: przesunięcie %1 mm × %2 mm, skala %3 % × %4 %</source>
        <translation>with calibration: shift %1 mm × %2 mm, scale %3 % × %4 %</translation>
    </message>
    <message>
        <source>Lamello – strona testowa drukarki %1, wydrukowana %2.

1. Zmierz linijką poziomą podziałkę od kreski 0 do kreski 150 (wzorcowo 150 mm) i pionową od 0 do 250 (wzorcowo 250 mm).
2. Zmierz odległość pionowej kreski znaku w lewym górnym rogu od lewej krawędzi kartki i poziomej kreski od górnej krawędzi (wzorcowo po 10 mm).
3. Wpisz te cztery wymiary w oknie „Kalibracja drukarki…” i naciśnij „Oblicz”: program sam wyznaczy skalę i przesunięcie.
4. Zapisz kalibrację i wydrukuj stronę testową jeszcze raz, aby sprawdzić wynik.</source>
        <translation>Lamello – test page of printer %1, printed %2.

1. With a ruler, measure the horizontal scale bar from mark 0 to mark 150 (nominally 150 mm) and the vertical one from 0 to 250 (nominally 250 mm).
2. Measure the distance of the vertical line of the mark in the top left corner from the left edge of the sheet and of its horizontal line from the top edge (nominally 10 mm each).
3. Enter these four lengths in the &quot;Printer calibration…&quot; window and press &quot;Calculate&quot;: the program works out the scale and the shift.
4. Save the calibration and print the test page again to check the result.</translation>
    </message>
    <message>
        <source>Lamello: strona testowa</source>
        <translation>Lamello: test page</translation>
    </message>
</context>
<context>
    <name>UserGeometryFile</name>
    <message>
        <source>Nazwa nie może zawierać znaków „;;”, które w pliku ustawień oddzielają pola.</source>
        <translation>The name must not contain &quot;;;&quot;, which separates the fields in the presets file.</translation>
    </message>
    <message>
        <source>Nazwa nie może kończyć się znakiem „;”, bo w pliku ustawień po nazwie następuje „;;”.</source>
        <translation>The name must not end with &quot;;&quot;, because &quot;;;&quot; follows the name in the presets file.</translation>
    </message>
    <message>
        <source>Nazwa nie może zawierać znaków sterujących (np. końca wiersza).</source>
        <translation>The name must not contain control characters (such as a line end).</translation>
    </message>
    <message>
        <source>Znaku „%1” nie można zapisać w pliku ustawień (kodowanie Windows-1250). Proszę użyć innej nazwy.</source>
        <translation>The character &quot;%1&quot; cannot be written in the presets file (Windows-1250 encoding). Please use another name.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1: %2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>to nie jest zwykły plik.</source>
        <translation>it is not a regular file.</translation>
    </message>
    <message>
        <source>plik jest za duży (ponad %1 kB).</source>
        <translation>the file is too large (over %1 kB).</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: byłby większy niż %2 kB, a większego program nie odczyta.</source>
        <translation>Cannot write the file %1: it would be larger than %2 kB, and the program does not read a larger one.</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1: %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
</context>
<context>
    <name>Windows1250</name>
    <message>
        <source>„%1” (U+%2)</source>
        <translation>“%1” (U+%2)</translation>
    </message>
</context>
<context>
    <name>WorkbookCheck</name>
    <message>
        <source>Plik %1 jest w starym formacie Excela (.xls): zapisz go jako .xlsx albo .ods.</source>
        <translation>%1 is a file in the old Excel format (.xls): save it as .xlsx or .ods.</translation>
    </message>
</context>
<context>
    <name>WorkbookFile</name>
    <message>
        <source>Arkusz „%1” nie został wczytany: %2.</source>
        <translation>The workbook “%1” was not loaded: %2.</translation>
    </message>
    <message>
        <source>Arkusz „%1” nie został wczytany: %2: %3.</source>
        <translation>The workbook “%1” was not loaded: %2: %3.</translation>
    </message>
    <message>
        <source>komórka dłuższa niż %1 znaków</source>
        <translation>a cell longer than %1 characters</translation>
    </message>
    <message>
        <source>więcej niż %1 arkuszy</source>
        <translation>more than %1 sheets</translation>
    </message>
    <message>
        <source>brak danych arkusza (sheetData)</source>
        <translation>no sheet data (sheetData)</translation>
    </message>
    <message>
        <source>brak arkuszy (to nie jest arkusz kalkulacyjny)</source>
        <translation>no sheets (this is not a spreadsheet)</translation>
    </message>
    <message>
        <source>plik ma więcej niż %1 MB</source>
        <translation>the file is larger than %1 MB</translation>
    </message>
    <message>
        <source>brak pamięci</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>schowek</source>
        <translation>clipboard</translation>
    </message>
    <message>
        <source>Schowek</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>to nie jest plik ODS</source>
        <translation>this is not an ODS file</translation>
    </message>
    <message>
        <source>część jest zaszyfrowana (arkusz chroniony hasłem); zapisz go bez hasła</source>
        <translation>a part is encrypted (a password-protected spreadsheet); save it without a password</translation>
    </message>
    <message>
        <source>brak tej części archiwum (to nie jest plik ODS)</source>
        <translation>this part of the archive is missing (this is not an ODS file)</translation>
    </message>
    <message>
        <source>plik jest zaszyfrowany (chroniony hasłem) albo zapisany w starym formacie .xls; zapisz go jako .xlsx bez hasła</source>
        <translation>the file is encrypted (password-protected) or saved in the old .xls format; save it as .xlsx without a password</translation>
    </message>
    <message>
        <source>brak tej części archiwum (to nie jest plik XLSX)</source>
        <translation>this part of the archive is missing (this is not an XLSX file)</translation>
    </message>
    <message>
        <source>brak arkuszy</source>
        <translation>no sheets</translation>
    </message>
    <message>
        <source>Nie ma pliku %1.</source>
        <translation>There is no file %1.</translation>
    </message>
    <message>
        <source>„%1” nie jest zwykłym plikiem (to folder, potok lub urządzenie).
Arkusz nie został wczytany.</source>
        <translation>“%1” is not a regular file (it is a folder, pipe or device).
The spreadsheet was not loaded.</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku %1.</source>
        <translation>Cannot read the file %1.</translation>
    </message>
    <message>
        <source>kolumn jest więcej niż %1</source>
        <translation>more than %1 columns</translation>
    </message>
    <message>
        <source>wierszy jest więcej niż %1</source>
        <translation>more than %1 rows</translation>
    </message>
    <message>
        <source>komórek jest więcej niż %1</source>
        <translation>more than %1 cells</translation>
    </message>
    <message>
        <source>uszkodzony XML (%1)</source>
        <translation>damaged XML (%1)</translation>
    </message>
    <message>
        <source>uszkodzony XML (deklaracja DOCTYPE, której arkusze nie mają)</source>
        <translation>damaged XML (a DOCTYPE declaration, which spreadsheets do not have)</translation>
    </message>
    <message>
        <source>uszkodzony XML (nieobsługiwana wersja XML „%1”)</source>
        <translation>damaged XML (an unsupported XML version “%1”)</translation>
    </message>
    <message>
        <source>błędna liczba powtórzeń wiersza</source>
        <translation>an invalid row repeat count</translation>
    </message>
    <message>
        <source>błędna liczba powtórzeń komórki</source>
        <translation>an invalid cell repeat count</translation>
    </message>
    <message>
        <source>liczba spacji „%1” nie jest liczbą</source>
        <translation>the number of spaces “%1” is not a number</translation>
    </message>
    <message>
        <source>błędny numer wiersza „%1”</source>
        <translation>an invalid row number “%1”</translation>
    </message>
    <message>
        <source>błędny adres komórki „%1”</source>
        <translation>an invalid cell address “%1”</translation>
    </message>
    <message>
        <source>PRAWDA</source>
        <translation>TRUE</translation>
    </message>
    <message>
        <source>FAŁSZ</source>
        <translation>FALSE</translation>
    </message>
    <message>
        <source>to nie jest plik %1 (nie jest archiwum ZIP albo jest uszkodzony)</source>
        <translation>this is not an %1 file (not a ZIP archive, or a damaged one)</translation>
    </message>
    <message>
        <source>archiwum ma więcej niż %1 części</source>
        <translation>the archive has more than %1 parts</translation>
    </message>
    <message>
        <source>brak tej części archiwum</source>
        <translation>this part of the archive is missing</translation>
    </message>
    <message>
        <source>uszkodzony katalog archiwum</source>
        <translation>the archive&apos;s directory is damaged</translation>
    </message>
    <message>
        <source>po rozpakowaniu ma %1 MB, więcej niż %2 MB, które program przyjmuje (bomba ZIP?)</source>
        <translation>unpacked, it takes %1 MB, more than the %2 MB the program accepts (a ZIP bomb?)</translation>
    </message>
    <message>
        <source>nie można rozpakować tej części</source>
        <translation>this part cannot be unpacked</translation>
    </message>
    <message>
        <source>po rozpakowaniu ma więcej niż %1 MB, które program przyjmuje (bomba ZIP?)</source>
        <translation>unpacked, it takes more than the %1 MB the program accepts (a ZIP bomb?)</translation>
    </message>
    <message>
        <source>uszkodzone dane archiwum</source>
        <translation>damaged archive data</translation>
    </message>
    <message>
        <source>uszkodzone dane archiwum albo za duża część</source>
        <translation>damaged archive data or a part too large</translation>
    </message>
    <message>
        <source>uszkodzone dane archiwum (błędna suma kontrolna)</source>
        <translation>damaged archive data (wrong checksum)</translation>
    </message>
    <message>
        <source>część jest za duża</source>
        <translation>the part is too large</translation>
    </message>
    <message>
        <source>błąd składni</source>
        <translation>syntax error</translation>
    </message>
    <message>
        <source>brak elementu: część jest pusta albo ucięta</source>
        <translation>no element: the part is empty or cut short</translation>
    </message>
    <message>
        <source>niedozwolony znak</source>
        <translation>a character not allowed here</translation>
    </message>
    <message>
        <source>niedomknięty znacznik</source>
        <translation>an unclosed tag</translation>
    </message>
    <message>
        <source>ucięty znak</source>
        <translation>a character cut short</translation>
    </message>
    <message>
        <source>znacznik zamykający nie pasuje do otwierającego</source>
        <translation>a closing tag that does not match the opening one</translation>
    </message>
    <message>
        <source>powtórzony atrybut</source>
        <translation>a repeated attribute</translation>
    </message>
    <message>
        <source>dane po końcu dokumentu</source>
        <translation>data after the end of the document</translation>
    </message>
    <message>
        <source>nieznana encja</source>
        <translation>an unknown entity</translation>
    </message>
    <message>
        <source>nieznane kodowanie znaków</source>
        <translation>an unknown character encoding</translation>
    </message>
    <message>
        <source>kodowanie niezgodne z deklaracją</source>
        <translation>an encoding that does not match its declaration</translation>
    </message>
    <message>
        <source>niedomknięta sekcja CDATA</source>
        <translation>an unclosed CDATA section</translation>
    </message>
    <message>
        <source>nieznany prefiks przestrzeni nazw</source>
        <translation>an unknown namespace prefix</translation>
    </message>
    <message>
        <source>deklaracja XML nie na początku</source>
        <translation>an XML declaration not at the start</translation>
    </message>
    <message>
        <source>encje rozwijają się w zbyt długi tekst</source>
        <translation>entities expand into a text that is too long</translation>
    </message>
    <message>
        <source>%1, komórka %2</source>
        <translation>%1, cell %2</translation>
    </message>
    <message>
        <source>%1, wiersz XML %2</source>
        <translation>%1, XML line %2</translation>
    </message>
    <message>
        <source>elementy zagnieżdżone głębiej niż %1 poziomów</source>
        <translation>elements nested deeper than %1 levels</translation>
    </message>
    <message>
        <source>komórek i tekstów jest więcej niż %1</source>
        <translation>more than %1 cells and texts</translation>
    </message>
    <message>
        <source>wskazuje tekst nr %1, którego nie ma</source>
        <translation>refers to text no. %1, which does not exist</translation>
    </message>
    <message>
        <source>więcej niż %1 powiązań części</source>
        <translation>more than %1 part relationships</translation>
    </message>
    <message>
        <source>uszkodzone archiwum: dwie części o tej samej nazwie</source>
        <translation>damaged archive: two parts of the same name</translation>
    </message>
    <message>
        <source>nieobsługiwana metoda kompresji %1; zapisz plik ponownie w programie arkuszy, bez innych ustawień kompresji</source>
        <translation>unsupported compression method %1; save the file again in the spreadsheet program, without other compression settings</translation>
    </message>
    <message>
        <source>to archiwum ZIP, nie tekst (może arkusz .xlsx lub .ods o innym rozszerzeniu?)</source>
        <translation>this is a ZIP archive, not text (perhaps an .xlsx or .ods workbook with another extension?)</translation>
    </message>
    <message>
        <source>plik zawiera dane binarne (bajty zerowe), nie tekst</source>
        <translation>the file holds binary data (NUL bytes), not text</translation>
    </message>
    <message>
        <source>plik zmienił się w czasie wczytywania; wczytaj go ponownie, gdy program, który go zapisuje, skończy</source>
        <translation>the file changed while it was being read; read it again once the program writing it has finished</translation>
    </message>
    <message>
        <source>uszkodzony tekst %1</source>
        <translation>damaged %1 text</translation>
    </message>
    <message>
        <source>cudzysłów otwarty w wierszu %1 nie jest zamknięty do końca pliku</source>
        <translation>the quote opened on line %1 is not closed before the end of the file</translation>
    </message>
    <message>
        <source>brak powiązania arkusza „%1”</source>
        <translation>no relationship for the sheet “%1”</translation>
    </message>
    <message>
        <source>arkusz „%1” wskazuje część spoza pliku</source>
        <translation>the sheet “%1” refers to a part outside the file</translation>
    </message>
    <message>
        <source>formatów liczb jest więcej niż %1</source>
        <translation>more than %1 number formats</translation>
    </message>
    <message>
        <source>format liczb dłuższy niż %1 znaków</source>
        <translation>a number format longer than %1 characters</translation>
    </message>
    <message>
        <source>stylów komórek jest więcej niż %1</source>
        <translation>more than %1 cell styles</translation>
    </message>
    <message>
        <source>błędny numer formatu liczb „%1”</source>
        <translation>an invalid number format id “%1”</translation>
    </message>
    <message>
        <source>dwa arkusze wskazują tę samą część %1</source>
        <translation>two sheets refer to the same part %1</translation>
    </message>
    <message>
        <source>plik w starym formacie Excela (.xls): zapisz go jako .xlsx albo .ods</source>
        <translation>a file in the old Excel format (.xls): save it as .xlsx or .ods</translation>
    </message>
    <message>
        <source>formaty liczb wydłużają teksty komórek o więcej niż %1 znaków</source>
        <translation>number formats make the cells&apos; texts longer by more than %1 characters</translation>
    </message>
</context>
</TS>
