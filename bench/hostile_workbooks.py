#!/usr/bin/env python3
"""Writes the workbooks made to hurt that the readers are measured against
(bench/README.md, "Workbooks made to hurt"): each a small file that once
crashed or stalled lamello-batch, or took it past its bounds.

    python3 bench/hostile_workbooks.py DIR

The XML is streamed into the ZIP entry, never held whole.
"""
import os
import sys
import zipfile

MAIN = b'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' \
       b'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
ODS = b'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" ' \
      b'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" ' \
      b'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'


def repeated(piece, count, chunk=1 << 20):
    """`piece` `count` times, in blocks."""
    per = max(1, chunk // len(piece))
    while count > 0:
        n = min(per, count)
        yield piece * n
        count -= n


def write_zip(path, parts):
    """parts: name -> bytes or an iterable of byte blocks."""
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, content in parts.items():
            with z.open(name, 'w', force_zip64=True) as out:
                if isinstance(content, bytes):
                    out.write(content)
                else:
                    for block in content:
                        out.write(block)


def rels(targets):
    body = b''.join(b'<Relationship Id="rId%d" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                    b'relationships/worksheet" Target="%s"/>' % (i + 1, t) for i, t in enumerate(targets))
    return b'<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/' \
           b'relationships">' + body + b'</Relationships>'


def workbook(sheets, inside=b'', start=b''):
    body = b''.join(b'<sheet name="S%d" sheetId="%d" r:id="rId%d"/>' % (i + 1, i + 1, r) for i, r in enumerate(sheets))
    return b'<?xml version="1.0"?>' + start + b'<workbook ' + MAIN + b'><sheets>' + body + b'</sheets>' + inside + \
           b'</workbook>'


def sheet(rows):
    return [b'<?xml version="1.0"?><worksheet ' + MAIN + b'><sheetData>'] + list(rows) + [b'</sheetData></worksheet>']


def nested(depth):
    """`depth` elements opened, none closed: the parser's stack is what hurts."""
    yield from repeated(b'<x>', depth)


def main(out):
    os.makedirs(out, exist_ok=True)
    far = [b'<row r="%d"><c r="XFD%d"><v>1</v></c></row>' % (r, r) for r in range(1, 1221)]
    one = sheet([b'<row><c><v>1</v></c></row>'])
    files = {
        # Eight sheets read from one part, each 1,220 rows with a cell at XFD.
        'eight-sheets-one-part.xlsx': {'xl/workbook.xml': workbook([1] * 8),
                                       'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                       'xl/worksheets/sheet1.xml': sheet(far)},
        # Two such sheets of 700 rows, each from a part of its own.
        'far-cells-in-two-parts.xlsx': {'xl/workbook.xml': workbook([1, 2]),
                                        'xl/_rels/workbook.xml.rels': rels([b'worksheets/a.xml', b'worksheets/b.xml']),
                                        'xl/worksheets/a.xml': sheet(far[:700]), 'xl/worksheets/b.xml': sheet(far[:700])},
        'deep-workbook.xlsx': {'xl/workbook.xml': [workbook([1])[:-len(b'</workbook>')]] + list(nested(20_000_000))
                               + [b'</workbook>'],
                               'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                               'xl/worksheets/sheet1.xml': one},
        'deep-sheet.xlsx': {'xl/workbook.xml': workbook([1]),
                            'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                            'xl/worksheets/sheet1.xml': sheet(nested(80_000_000))},
        'deep-shared-strings.xlsx': {'xl/workbook.xml': workbook([1]),
                                     'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                     'xl/sharedStrings.xml': [b'<?xml version="1.0"?><sst ' + MAIN + b'><si>']
                                     + list(nested(80_000_000)) + [b'</si></sst>'],
                                     'xl/worksheets/sheet1.xml': one},
        'entity-in-workbook.xlsx': {'xl/workbook.xml': workbook([1], start=b'<!DOCTYPE workbook [<!ENTITY e "'
                                                                + b'A' * 1000 + b'">]>').replace(
                                        b'name="S1"', b'name="' + b'&e;' * 2_000_000 + b'"'),
                                    'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                    'xl/worksheets/sheet1.xml': one},
        'many-shared-strings.xlsx': {'xl/workbook.xml': workbook([1]),
                                     'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                     'xl/sharedStrings.xml': [b'<?xml version="1.0"?><sst ' + MAIN + b'>']
                                     + list(repeated(b'<si/>', 50_000_000)) + [b'</sst>'],
                                     'xl/worksheets/sheet1.xml': one},
        'million-attributes.xlsx': {'xl/workbook.xml': workbook([1]).replace(
                                        b'<workbook ', b'<workbook ' + b''.join(b'a%d="" ' % i for i in range(1_000_000))),
                                    'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                    'xl/worksheets/sheet1.xml': one},
        'long-attribute.xlsx': {'xl/workbook.xml': [b'<?xml version="1.0"?><workbook ' + MAIN + b' x="']
                                + list(repeated(b'a', 250_000_000)) + [b'"><sheets><sheet name="S1" sheetId="1" '
                                                                        b'r:id="rId1"/></sheets></workbook>'],
                                'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                                'xl/worksheets/sheet1.xml': one},
        # A text format of 1,024 "@" over a 32,767-character shared string in
        # 100 cells: 33.5 million characters a cell.
        'format-bomb.xlsx': {'xl/workbook.xml': workbook([1]),
                             'xl/_rels/workbook.xml.rels': rels([b'worksheets/sheet1.xml']),
                             'xl/sharedStrings.xml': b'<?xml version="1.0"?><sst ' + MAIN + b'><si><t>'
                             + b'a' * 32_767 + b'</t></si></sst>',
                             'xl/styles.xml': b'<?xml version="1.0"?><styleSheet ' + MAIN + b'><numFmts><numFmt '
                             b'numFmtId="164" formatCode="' + b'@' * 1024 + b'"/></numFmts><cellXfs><xf numFmtId="0"/>'
                             b'<xf numFmtId="164"/></cellXfs></styleSheet>',
                             'xl/worksheets/sheet1.xml': sheet([b'<row>' + b'<c s="1" t="s"><v>0</v></c>' * 100
                                                                + b'</row>'])},
        'deep-table.ods': {'content.xml': [b'<?xml version="1.0"?><office:document-content ' + ODS
                                           + b'><office:body><office:spreadsheet><table:table table:name="A">']
                           + list(nested(80_000_000)) + [b'</table:table></office:spreadsheet></office:body>'
                                                         b'</office:document-content>']},
        # Nine cells of 32,000 characters, the row repeated 1,220 times.
        'long-cells.ods': {'content.xml': b'<?xml version="1.0"?><office:document-content ' + ODS
                           + b'><office:body><office:spreadsheet><table:table table:name="A">'
                             b'<table:table-row table:number-rows-repeated="1220"><table:table-cell '
                             b'table:number-columns-repeated="9"><text:p>' + b'Pompa obiegowa ' * 2133
                           + b'</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet>'
                             b'</office:body></office:document-content>'},
    }
    for name, parts in files.items():
        write_zip(os.path.join(out, name), parts)
    # Excel's "Unicode text": UTF-16 LE, tab-separated, Polish letters.
    text = ''.join('Pompa obiegowa %d\tPraca\tAwaria\tRęczny # automat\tŻółć\r\n' % i for i in range(20_000))
    with open(os.path.join(out, 'unicode-text.csv'), 'wb') as f:
        f.write(b'\xff\xfe' + text.encode('utf-16-le'))


if __name__ == '__main__':
    main(sys.argv[1])
