/* The maker's contact lines of the About box and the installer's copyright notice: one place
   for them, read by wizard.rc, version.rc and the tests that check the box. Not localised.
   UTF-8 narrow strings (the resource compiler reads them as code page 65001). */
#pragma once

#define ABOUT_POSTAL_ADDRESS "Quillon Software\n14 rue des Tanneurs\n69002 Lyon, France"
#define ABOUT_TELEPHONE "Tel: +33 1 99 00 10 20"
#define ABOUT_FAX "Fax: +33 1 99 00 10 21"
#define ABOUT_EMAIL "E-mail: support@quillon.example"
#define ABOUT_WEB "Web: www.quillon.example"
#define INSTALLER_COPYRIGHT "Copyright © 2026 Quillon. All rights reserved."
