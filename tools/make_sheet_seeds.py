#!/usr/bin/env python3
"""Writes the seed files of fuzz/corpus/fuzz_ods and fuzz/corpus/fuzz_xlsx:
small workbooks whose XML is written here by hand, with the parts and
namespaces LibreOffice Calc (ODS) and Microsoft Excel (XLSX) write. Each
seed starts with the byte that picks what the target reads: 0 the ZIP file,
1 the part alone. Run from the top folder: python3 tools/make_sheet_seeds.py"""

import io
import os
import zipfile

ODS_CONTENT = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.3">'
    '<office:body><office:spreadsheet><table:table table:name="Arkusz1">'
    '<table:table-column table:number-columns-repeated="3"/>'
    '<table:table-row><table:table-cell office:value-type="string"><text:p>Pompa<text:s text:c="2"/>1'
    '</text:p><text:p>obieg</text:p></table:table-cell><table:table-cell table:number-columns-repeated="2">'
    '<text:p>Praca<text:tab/>x<text:line-break/>y</text:p></table:table-cell>'
    '<table:table-cell table:number-columns-repeated="1021"/></table:table-row>'
    '<table:table-row table:number-rows-repeated="1048575"><table:table-cell '
    'table:number-columns-repeated="1024"/></table:table-row>'
    '</table:table><table:table table:name="Drugi"/></office:spreadsheet></office:body>'
    '</office:document-content>').encode()

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
RNS = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
SHEET = (
    f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet {NS} {RNS}><sheetData>'
    '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="s"><v>1</v></c><c r="D1"><v>2.5</v></c></row>'
    '<row r="3"><c r="B3" t="inlineStr"><is><t xml:space="preserve"> a </t></is></c>'
    '<c r="C3" t="b"><v>0</v></c></row></sheetData></worksheet>').encode()
SHARED = (f'<?xml version="1.0"?><sst {NS}><si><t>Praca</t></si>'
          '<si><r><t>Awa</t></r><r><t>ria</t></r><rPh><t>x</t></rPh></si></sst>').encode()
WORKBOOK = (f'<?xml version="1.0"?><workbook {NS} {RNS}><sheets>'
            '<sheet name="Arkusz1" sheetId="1" r:id="rId1"/></sheets></workbook>').encode()
RELS = ('<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" '
        'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" '
        'Target="sharedStrings.xml"/></Relationships>').encode()


def zipped(entries):
    out = io.BytesIO()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            z.writestr(name, data)
    return out.getvalue()


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


write('fuzz/corpus/fuzz_ods/calc.ods', b'\0' + zipped([
    ('mimetype', b'application/vnd.oasis.opendocument.spreadsheet'), ('content.xml', ODS_CONTENT)]))
write('fuzz/corpus/fuzz_ods/content.xml', b'\1' + ODS_CONTENT)
write('fuzz/corpus/fuzz_xlsx/excel.xlsx', b'\0' + zipped([
    ('xl/workbook.xml', WORKBOOK), ('xl/_rels/workbook.xml.rels', RELS),
    ('xl/sharedStrings.xml', SHARED), ('xl/worksheets/sheet1.xml', SHEET)]))
write('fuzz/corpus/fuzz_xlsx/sheet1.xml', b'\1' + SHEET)
