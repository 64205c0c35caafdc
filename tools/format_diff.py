#!/usr/bin/env python3
"""Cells through their number formats, Lamello against LibreOffice Calc.

Writes an XLSX of number format x value cells (the XML by hand, so the
built-in formats 0-49 can be written bare, without a code), prints it with
lamello-batch in Polish and in English and reads the texts back from the PDF,
converts the same file with LibreOffice headless to "CSV as shown" under a
Polish and an English locale, and lists the renderings that differ, leaving
out those named in tools/format_diff_known.txt (differences kept on purpose,
each with its reason). Run by hand, from the top folder, after a build:

    python3 tools/format_diff.py [--batch build/src/lamello-batch] [--keep DIR]

Needs pdftotext (poppler-utils) and soffice (libreoffice-calc-nogui). Prints
one line per difference (language, code, value, Lamello, LibreOffice) and the
counts; the exit status is 1 when an unexplained difference is left. The
comparison is of the texts with runs of spaces made one and the ends trimmed:
the PDF keeps no padding.
"""
import argparse
import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
KNOWN = os.path.join(HERE, 'format_diff_known.txt')

# Values: a number, or ('t', text), ('b', 0/1), ('e', error).
MIXED = [-1234.5678, 0, 0.5, 45366.75]
NUMBERS = [1234.5678, -1234.5678, 0, 0.005, -0.001, 12345, 1e-5, 1.5e10]
TIMES = [0, 0.25, 0.5007, 0.75, 0.9, 0.99999999, 1.5, 2.9999999, 45366.99999999, 45366.75, 0.123456789]
DATES = [1, 59, 60, 61, 45366, 45366.75, 36526, 45366.99999999, 44927]
CONDITIONAL = [150, 5, 0, -5, -150, 2000, -2000, 0.3]
TEXT = [('t', 'abc'), -5, 0, 5]

CASES = [(i, MIXED) for i in range(50)] + [
    # numbers
    ('0', NUMBERS), ('0.00', NUMBERS), ('#,##0', NUMBERS), ('#,##0.00', NUMBERS), ('000', [7, -7, 1234]),
    ('#.##', [0.5, 5, 0, 1.005]), ('0.', [5]), ('.00', [1.5]), ('#', [0, 12]), ('00,000', [5, 1234567]),
    ('#,##0,', [1234567, 999]), ('0.0,,', [1234567]), ('#,##0.00\\ "zł"', NUMBERS),
    ('#,##0.00\\ [$zł-415]', [12.5]), ('#,##0.00 [$€-407]', [1234.5]), ('"X"0.0', [1.1, -1.1]),
    ('0.00;(0.00)', [-2.5, 2.5, 0]), ('0;;', [0, 1, -1]), ('0;-0;;@', [0, 1, -1, ('t', 'x')]),
    ('_(0_)', [5]), ('* 0', [5]), ('[Red]0.00', [3, -3]), ('[Blue]#,##0;[Red]-#,##0', [1234, -1234]),
    ('0%', [0.75, -0.005, 1]), ('0.00%', [0.12345]), ('0.0%', [1e-5]),
    # scientific
    ('0.0E+00', [12345, 0.00012, 0, -12345]), ('0.00E-00', [0.001, 1000]), ('##0.0E+0', [12345, 0.00012, 1]),
    ('000.0E+00', [12345, 0.012]), ('#0.0E+0', [12345]), ('0.000E+000', [6.02e23]), ('00E+0', [12345]),
    # fractions
    ('# ?/?', [1.25, 0.3, -1.25, 2]), ('# ??/??', [3.14159, 0]), ('?/?', [1.5, 0.3]), ('# ?/8', [0.3, 1.2]),
    ('# ?/? "kg"', [2]), ('# ?/100', [0.123]), ('0 ?/?', [0.25]),
    # General
    ('General', [1234.5, -0, 1e20, 1.23456789012345e-7, 123456789012, 0.1 + 0.2, -3.5]),
    ('General;(General)', [-3.5]), ('"a"General', [1.5]), ('@', [1.5, ('t', 'abc')]),
    # conditions
    ('[>100]"big "0;"small "0', CONDITIONAL), ('[<100]0;"duży"', CONDITIONAL), ('[<>5]0;"pięć"', CONDITIONAL),
    ('[>=1000]#,##0,"K";0', CONDITIONAL), ('[>100][Red]0;[<=-100][Blue]0;0.00', CONDITIONAL),
    ('[>0.5]0.0;[<-0.5]-0.0', CONDITIONAL), ('[<0]"minus "0;0', CONDITIONAL), ('[=1]"jeden";0', [1, 2, -1]),
    ('[<=-1]0;[>=1]0;"zero"', CONDITIONAL),
    # text sections
    ('0.00;@', TEXT), ('0.00;"T:"@', TEXT), ('0;-0;@', TEXT), ('0.00;(0.00);"zero";"Nr "@', TEXT),
    ('"Nr "@', TEXT), ('@" szt."', TEXT), ('dd.mm.yyyy;@', [45366, ('t', 'x')]), ('h:mm;@', [0.5, ('t', 'x')]),
    # times
    ('hh:mm', TIMES), ('h:mm:ss', TIMES), ('[h]:mm', TIMES), ('[mm]:ss', [0.1]), ('[ss]', [0.01]),
    ('hh:mm:ss am/pm', TIMES), ('h:mm AM/PM', TIMES), ('h:mm A/P', [0.25, 0.75]), ('hh:mm:ss.00', TIMES),
    ('mm:ss.0', [0.0123]), ('h:m:s', [0.5007]), ('[h]:mm:ss', [-1234.5678, 1.5]),
    # dates
    ('dd.mm.yyyy', DATES), ('d mmmm yyyy', DATES), ('mmmm', [45366]), ('mmm', [45366]), ('mmmmm', [45366]),
    ('dddd, d mmmm', [45366]), ('ddd', [45366]), ('m/d/yy', [45366]), ('yyyy-mm-dd hh:mm:ss', [45366.999999]),
    ('d-mmm-yy', [45366]), ('mmm d, yyyy', [45366]), ('dd/mm/yyyy', [45366]), ('yy', [45366]),
    ('[$-F800]dddd, mmmm dd, yyyy', [45366]), ('[$-F400]h:mm:ss AM/PM', [0.75]),
    ('[$-415]d mmmm yyyy', [45366]), ('[$-409]mmm d, yyyy', [45366]), ('[$-409]h:mm AM/PM', [0.75]),
    ('[$-415]dddd', [45366]), ('[$-407]mmmm', [45366]), ('[$-409]dddd d mmmm', [45366]),
    ('[$-415]h:mm AM/PM', [0.75]), ('[$-40C]mmmm yyyy', [45366]), ('[$-419]d mmmm', [45366]),
    # what labels are made of: units, codes, numbers with text
    ('00-000', [2595, 60001]), ('000 000 000', [601234567]), ('"Tel. "000-000-000', [221234567]),
    ('0000', [42]), ('0.0 "kW"', [7.5, -7.5]), ('0 "V"', [230]), ('0.000" A"', [0.125]), ('0.0°C', [21.55]),
    ('#,##0.0,,"M"', [12345678]), ('"Nr "000', [5]), ('"Poz. "0;"Poz. -"0', [3, -3]),
    ('\\-0', [5]), ('0_-', [5]), ('0.0%;-0.0%', [-0.1234]), ('#,##0.00;[Red]-#,##0.00', [-1234.567]),
    ('#,#', [1234567]), ('0,0', [1234567]), ('#,##0.00 "zł";-#,##0.00 "zł"', [-0.004]), ('0.00E+0', [123456]),
    ('# ?/4', [2.3]), ('# #/#', [0.5]), ('0/0', [0.75]),
    ('yyyy', [45366]), ('d.m.yy', [45366]), ('ddd d mmm', [45366]), ('dddd', [1, 45366]), ('mmmmm yy', [45366]),
    ('[hh]:mm', [1.5]), ('[m]', [0.5]), ('mm:ss.000', [0.0000123]), ('ss.00', [0.5]), ('h "godz." m "min"', [0.51]),
    ('yyyy-mm-dd"T"hh:mm', [45366.5]), ('d mmmm yyyy "r."', [45366]), ('hh:mm;@', [0.5, ('t', 'x')]),
    ('#,##0.00 [$zł-415];-#,##0.00 [$zł-415]', [-1234.5]), ('[$€-2] #,##0.00', [1234.5]), ('?.??', [1.5, 12.345]),
    ('#,##0_ ;[Red]-#,##0\\ ', [-1234]), ('General" szt."', [12, -12]), ('0" szt."', [12]), ('#,##0.000', [0.0005]),
    ('0.0;-0.0;"—"', [0]), ('0.0;;"zero";@', [-1]), ('0%;-0%;"-"', [0, -0.5]), ('# ???/???', [3.14159265]),
    ('[<1]0.00" s";[<60]0.0" s";0" s"', [0.5, 30, 90, -5]), ('[Color10]0;[Color3]-0', [5, -5]),
    ('mmm-yyyy', [45366]), ('mmmm yyyy', [45366]), ('ddd, d mmm yyyy hh:mm', [45366.5]), ('[ss].00', [0.000123]),
    ('0.00 %', [0.125]), ('0.0E+00 "kg"', [12345]), ('0000-00-00', [20240315]), ('00" "00" "00', [123456]),
]
# The 1904 date system, in a workbook of its own.
CASES_1904 = [('dd.mm.yyyy', [0, 1, 43904, 43904.5]), ('d mmmm yyyy', [43904]), ('[h]:mm', [1.5]),
              ('dddd', [0]), (14, [43904])]
# Other cells as they are, under General.
PLAIN = [('b', 1), ('b', 0), ('e', '#DIV/0!'), ('t', 'Pompa 1')]


def cell_xml(ref, style, value, strings):
    if isinstance(value, tuple):
        kind, v = value
        if kind == 't':
            strings.append(v)
            return f'<c r="{ref}" s="{style}" t="s"><v>{len(strings) - 1}</v></c>'
        if kind == 'b':
            return f'<c r="{ref}" s="{style}" t="b"><v>{v}</v></c>'
        return f'<c r="{ref}" s="{style}" t="e"><v>{escape(v)}</v></c>'
    return f'<c r="{ref}" s="{style}"><v>{repr(float(value))}</v></c>'


def describe(value):
    if isinstance(value, tuple):
        return {'t': 'text ', 'b': 'bool ', 'e': 'error '}[value[0]] + str(value[1])
    return repr(value)


def write_xlsx(path, cases, date1904=False):
    """cases: [(code or id, value)]; A holds the row's tag, B the cell."""
    codes = {}
    styles = [0]   # cellXfs: style 0 General, then one per format
    style_of = {}
    for code, _ in cases:
        if code in style_of:
            continue
        if isinstance(code, int):
            style_of[code] = len(styles)
            styles.append(code)
        else:
            codes.setdefault(code, 164 + len(codes))
            style_of[code] = len(styles)
            styles.append(codes[code])
    strings = []
    rows = []
    for i, (code, value) in enumerate(cases, start=1):
        strings.append(f'K{i}')
        tag = f'<c r="A{i}" t="s"><v>{len(strings) - 1}</v></c>'
        rows.append(f'<row r="{i}">{tag}{cell_xml(f"B{i}", style_of[code], value, strings)}</row>')
    main = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    num_fmts = ''.join(f'<numFmt numFmtId="{n}" formatCode="{escape(c, {chr(34): "&quot;"})}"/>'
                       for c, n in codes.items())
    applied = ' applyNumberFormat="1"'
    xfs = ''.join(f'<xf numFmtId="{n}" fontId="0" fillId="0" borderId="0" xfId="0"{applied if n else ""}/>'
                  for n in styles)
    parts = {
        '[Content_Types].xml':
            '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/'
            'content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
            'relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>'
            '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.'
            'spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType='
            '"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/><Override PartName='
            '"/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
            '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-'
            'officedocument.spreadsheetml.sharedStrings+xml"/></Types>',
        '_rels/.rels':
            '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/'
            '2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/'
            '2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        'xl/workbook.xml':
            f'<?xml version="1.0" encoding="UTF-8"?><workbook {main} {rel}>'
            + ('<workbookPr date1904="1"/>' if date1904 else '') + '<sheets>'
            '<sheet name="Formaty" sheetId="1" r:id="rId1"/></sheets></workbook>',
        'xl/_rels/workbook.xml.rels':
            '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/'
            '2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/'
            '2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://'
            'schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
            '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
            'sharedStrings" Target="sharedStrings.xml"/></Relationships>',
        'xl/styles.xml':
            f'<?xml version="1.0" encoding="UTF-8"?><styleSheet {main}><numFmts count="{len(codes)}">{num_fmts}'
            '</numFmts><fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts><fills count="1">'
            '<fill><patternFill patternType="none"/></fill></fills><borders count="1"><border/></borders>'
            '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
            f'<cellXfs count="{len(styles)}">{xfs}</cellXfs></styleSheet>',
        'xl/sharedStrings.xml':
            f'<?xml version="1.0" encoding="UTF-8"?><sst {main} count="{len(strings)}" uniqueCount="{len(strings)}">'
            + ''.join(f'<si><t xml:space="preserve">{escape(s)}</t></si>' for s in strings) + '</sst>',
        'xl/worksheets/sheet1.xml':
            f'<?xml version="1.0" encoding="UTF-8"?><worksheet {main} {rel}><sheetData>' + ''.join(rows)
            + '</sheetData></worksheet>',
    }
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text.encode('utf-8'))


def lamello(batch, xlsx, lang, work):
    """Tag -> text as lamello-batch prints it, one barette a row."""
    pdf = os.path.join(work, f'{os.path.splitext(os.path.basename(xlsx))[0]}-lamello-{lang}.pdf')
    subprocess.run([batch, xlsx, '-o', pdf, '--rows', '--header-column', 'A', '--label-columns', 'B-F',
                    '--label', '60x11.2', '--header', '50x8.5', '--no-limit', '--no-marks', '--replace-unencodable',
                    '--lang', lang], check=True, stderr=subprocess.DEVNULL,
                   env=dict(os.environ, QT_QPA_PLATFORM='offscreen'))
    text = subprocess.run(['pdftotext', '-raw', pdf, '-'], check=True, capture_output=True,
                          text=True).stdout
    # In drawing order: a barette's header, then its fields' words. Two
    # headers with nothing between them may share a line.
    shown = {}
    tag = None
    for word in text.split():
        m = re.fullmatch(r'K(\d+)', word)
        if m:
            tag = int(m.group(1))
            shown[tag] = ''
        elif tag is not None:
            shown[tag] = (shown[tag] + ' ' + word).strip()
    return shown


PROFILE = '''<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>{0}</value></prop></item>
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooLocale" oor:op="fuse"><value>{0}</value></prop></item>
</oor:items>
'''


def libreoffice(xlsx, lang, work):
    """Tag -> text as LibreOffice Calc shows it under the language's locale."""
    locale = {'pl': 'pl-PL', 'en': 'en-US'}[lang]
    profile = os.path.join(work, f'profile-{lang}')
    os.makedirs(os.path.join(profile, 'user'), exist_ok=True)
    with open(os.path.join(profile, 'user', 'registrymodifications.xcu'), 'w', encoding='utf-8') as f:
        f.write(PROFILE.format(locale))
    out = os.path.join(work, f'lo-{lang}')
    os.makedirs(out, exist_ok=True)
    # 44 ",", 34 '"', 76 UTF-8, from line 1, ..., the 9th: cells as shown.
    subprocess.run(['soffice', f'-env:UserInstallation=file://{profile}', '--headless', '--norestore',
                    '--convert-to', 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true', '--outdir',
                    out, xlsx], check=True, capture_output=True,
                   env=dict(os.environ, LC_ALL=locale.replace('-', '_') + '.UTF-8'))
    name = os.path.splitext(os.path.basename(xlsx))[0] + '.csv'
    shown = {}
    with open(os.path.join(out, name), encoding='utf-8', newline='') as f:
        for row in csv.reader(f):
            if row and re.fullmatch(r'K\d+', row[0]):
                shown[int(row[0][1:])] = row[1] if len(row) > 1 else ''
    return shown


def known_differences():
    """(lang or '*', code, value) -> reason, from the file beside this one."""
    known = {}
    with open(KNOWN, encoding='utf-8') as f:
        for line in f:
            if not line.strip() or line.startswith('#'):
                continue
            fields = line.rstrip('\n').split('\t')
            if len(fields) < 4:
                sys.exit(f'{KNOWN}: a line needs language, code, value and reason, tab-separated: {line!r}')
            known[(fields[0], fields[1], fields[2])] = fields[3]
    return known


def normal(text):
    return ' '.join(text.split())


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--batch', default='build/src/lamello-batch')
    parser.add_argument('--keep', help='a folder to keep the workbook, PDFs and CSVs in')
    parser.add_argument('--all', action='store_true', help='list the known differences too')
    args = parser.parse_args()
    for tool in ('pdftotext', 'soffice'):
        if not shutil.which(tool):
            sys.exit(f'{tool} is missing (apt-get install poppler-utils libreoffice-calc-nogui)')
    work = args.keep or tempfile.mkdtemp(prefix='format-diff-')
    os.makedirs(work, exist_ok=True)
    books = [('formats', [(code, value) for code, values in CASES for value in values] + [(0, v) for v in PLAIN],
              False),
             ('formats-1904', [(code, value) for code, values in CASES_1904 for value in values], True)]
    known = known_differences()
    agree = differ = explained = total = 0
    for book, cases, date1904 in books:
        xlsx = os.path.join(work, book + '.xlsx')
        write_xlsx(xlsx, cases, date1904)
        total += 2 * len(cases)
        for lang in ('pl', 'en'):
            ours = lamello(os.path.abspath(args.batch), xlsx, lang, work)
            theirs = libreoffice(xlsx, lang, work)
            for i, (code, value) in enumerate(cases, start=1):
                a, b = ours.get(i, ''), theirs.get(i, '')
                if normal(a) == normal(b):
                    agree += 1
                    continue
                key = (str(code) if isinstance(code, str) else f'id {code}') + (' (1904)' if date1904 else '')
                reason = next((known[k] for k in ((lang, key, describe(value)), ('*', key, describe(value)),
                                                  (lang, key, '*'), ('*', key, '*')) if k in known), None)
                if reason:
                    explained += 1
                    if not args.all:
                        continue
                else:
                    differ += 1
                print(f'{lang}\t{key}\t{describe(value)}\tLamello: {a!r}\tLibreOffice: {b!r}'
                      + (f'\t(known: {reason})' if reason else ''))
    print(f'{agree} renderings agree, {explained} differ for a known reason, {differ} differ otherwise '
          f'(of {total})')
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if differ else 0


if __name__ == '__main__':
    sys.exit(main())
