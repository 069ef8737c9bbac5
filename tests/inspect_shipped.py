#!/usr/bin/env python3
"""Checks the shipped 32-bit launcher without running it: a PE32 GUI program
for i386, linked statically (only system DLLs imported), asking for
administrator rights, with a 48 x 48, 32-bit icon and a version resource."""
import os
import struct
import sys
import unittest

import pefile

EXE = os.environ.get("LAUNCHER_EXE", "")
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "wininet.dll", "psapi.dll", "msvcrt.dll", "comctl32.dll", "shlwapi.dll",
}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class ShippedLauncher(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(EXE)
        print("\n%s: %d bytes" % (EXE, os.path.getsize(EXE)))

    def resource(self, kind, name=None):
        """The data of the first resource of a kind (and name)."""
        for entry in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if entry.id != kind:
                continue
            for named in entry.directory.entries:
                if name is not None and named.id != name:
                    continue
                lang = named.directory.entries[0]
                rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                return self.pe.get_data(rva, size)
        return None

    def test_is_a_32_bit_gui_program_for_i386(self):
        self.assertEqual(0x14C, self.pe.FILE_HEADER.Machine)
        self.assertEqual(0x10B, self.pe.OPTIONAL_HEADER.Magic)  # PE32
        self.assertEqual(2, self.pe.OPTIONAL_HEADER.Subsystem)  # Windows GUI

    def test_imports_only_system_dlls(self):
        names = {e.dll.decode().lower() for e in self.pe.DIRECTORY_ENTRY_IMPORT}
        print("imports: " + ", ".join(sorted(names)))
        self.assertTrue(names)
        self.assertLessEqual(names, SYSTEM_DLLS)
        for name in names:
            self.assertNotRegex(name, "libstdc|libgcc|winpthread")

    def test_manifest_requires_administrator(self):
        manifest = self.resource(RT_MANIFEST, 1)
        self.assertIsNotNone(manifest)
        text = manifest.decode("utf-8")
        self.assertIn('level="requireAdministrator"', text)
        self.assertIn('uiAccess="false"', text)
        self.assertIn("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", text)  # Windows 10

    def test_icon_is_one_48_by_48_32_bit_image(self):
        group = self.resource(RT_GROUP_ICON)
        self.assertIsNotNone(group)
        _, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((1, 1), (kind, count))
        width, height, _, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((48, 48, 32), (width, height, bits))
        image = self.resource(RT_ICON, icon_id)
        header_size, w, h, _, bitcount = struct.unpack_from("<IiiHH", image)
        self.assertEqual((40, 48, 96, 32), (header_size, w, h, bitcount))
        self.assertEqual(size, len(image))

    def test_has_a_version_resource(self):
        version = self.resource(RT_VERSION)
        self.assertIsNotNone(version)
        self.assertIn("OrvaneLauncher.exe".encode("utf-16-le"), version)


if __name__ == "__main__":
    unittest.main(verbosity=2)
