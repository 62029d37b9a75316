/* The maker's contact lines of the About box: one place for them, read by wizard.rc and by
   the tests that check the box. Not localised. */
#pragma once

#define ABOUT_POSTAL_ADDRESS "Quillon Software\n14 rue des Tanneurs\n69002 Lyon, France"
#define ABOUT_TELEPHONE "Tel: +33 1 99 00 10 20"
#define ABOUT_FAX "Fax: +33 1 99 00 10 21"
#define ABOUT_EMAIL "E-mail: support@quillon.example"
#define ABOUT_WEB "Web: www.quillon.example"
