// Spanish texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Atrás"},
    {"IDS_WIZARD_NEXT", "Seguir >"},
    {"IDS_WIZARD_FINISH", "Listo"},
    {"IDS_WIZARD_CANCEL", "Cancelar"},
    {"IDS_ACCEPT_CANCEL", "¿Quiere cancelar la instalación?"},
    {"IDS_TITLE_INSTALLER", "Instalación de la configuración"},
    {"IDS_PREPARECOPY", "Preparando para copiar..."},
    {"IDS_INSTALL_ERROR", "Error de instalación"},
    {"IDS_ERROR_NOSOURCE", "Archivo del conjunto de la instalación qorn.efd no encontrado."},
    {"IDS_ERROR_NOTARGET", "Instalación en el catálogo actual de modelos no se admite."},
    {"IDS_ERROR_NOSPACE", "Insuficiente espacio en el catálogo Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Carpeta:"},
    {"IDS_CHOOSEDIR_TITLE", "Selección del catálogo"},
    {"IDR_MAINFRAME", "Instalación de la configuración"},
    {"IDS_SETUP_EMPTYTARGET", "Indique la ruta correcta al catálogo de modelos."},
    {"IDS_INSTALL_FINISH", "Finalización de copiar..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "DArchivo del conjunto de la instalación qorn.efd está dañado o no está destinado para este programa de instalación."},
    {"IDS_DEFPRODUCT", "<Producto>"},
    {"IDS_DEFPROVIDER", "<Proveedor>"},
    {"IDS_SUCCESS_FINISH", "Configuración se ha instalado con éxito."},
    {"IDS_SUCCESS_OPENDESCR", "Abrir la descripción del suministro"},
    {"IDS_PROGRESS_START", "Copia de archivos se está procesando..."},
    {"IDS_ERROR_FINISH", "En el proceso de instalación se ha producido un error. Instalación interrumpida. El catálogo de plantillas no ha sido cambiado."},
    {"IDS_CANCEL_FINISH", "Instalación cancelada. El catálogo de plantillas no ha sido cambiado."},
    {"IDS_BROWSE_SELDIR", "El catálogo seleccionado:"},
    {"IDS_BROWSE_OK", "Seleccionar"},
    {"IDS_BROWSE_CANCEL", "Cancelar"},
    {"IDS_WELCOME_TITLE", "Bienvenidos al programa de instalación del producto"},
    {"IDS_SETUP_EXISTEDTARGET", "El catálogo de instalación contiene los archivos que pueden ser cambiados durante la instalación. ¿Continuar la instalación?"},
    {"IDS_DESTINATION_PROMPT", "Indique la ruta al catálogo de plantillas. El programa de la instalación instalará las plantillas y los archivos de la configuración en el catálogo indicado."},
    {"IDS_TEMPLATE_CATALOG", "Catálogo de modelos:"},
    {"IDS_HELP_USAGE",
     "Uso: setup [usecwd] [-S] [-L<código>] [-D<directorio>] [-h]\n"
     "  usecwd               como primer argumento: tomar qorn.efd del directorio de trabajo\n"
     "  -S, /S               modo silencioso: instalar en seguida; sin pantalla, los mensajes van a la salida de errores estándar\n"
     "  -L<código>, /L<código>  idioma: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S debe ir antes)\n"
     "  -D<dir>, /D<dir>     instalar en <dir> en lugar del directorio propuesto; ~/ es el directorio personal\n"
     "  -h, --help, /?       mostrar esta ayuda\n"
     "Sin usecwd, el archivo del conjunto de la instalación qorn.efd se busca junto a este programa.\n"
     "Estado de salida:\n"
     "  0  instalado, o todos los archivos ya estaban al día\n"
     "  1  fin inesperado\n"
     "  2  no se pudo empezar: falta el conjunto, conjunto dañado, falta espacio, sin pantalla y sin -S, valor de opción incorrecto\n"
     "  3  la instalación falló y se deshicieron los cambios\n"
     "  4  cancelado o detenido por una señal, se deshicieron los cambios\n"
     "  5  no se pudo deshacer todo: los archivos se conservan en la copia de seguridad"},
    {"IDS_ERROR_NODISPLAY", "No se puede abrir la pantalla. Inicie con -S para instalar sin ventana."},
    {"IDS_ERROR_TARGETOPTION", "La opción -D debe ir seguida directamente de un directorio, por ejemplo -D~/templates, en la codificación de la configuración regional actual."},
    {"IDS_SUMMARY_WRITTEN", "Archivos escritos:"},
    {"IDS_SUMMARY_UPTODATE", "Archivos ya al día:"},
    {"IDS_SUMMARY_REPLACED", "Archivos reemplazados (los originales se guardaron en una copia de seguridad hasta terminar la instalación):"},
    {"IDS_LAUNCHER_NOTRECORDED", "El catálogo de plantillas no se ha registrado: no se pudo leer ni escribir el archivo de configuración del programa de inicio, que se ha dejado sin cambios:"},
    {"IDS_ERROR_TEMPDIR", "No se puede escribir en el directorio Temp (TMPDIR). Indique en TMPDIR un directorio con permiso de escritura y vuelva a iniciar el programa de instalación."},
    {"IDS_ERROR_NOSPACE_TARGET", "No hay espacio suficiente en el catálogo de plantillas. El catálogo de plantillas no ha sido cambiado."},
    {"IDS_RECOVERED_INSTALL", "Se encontró una instalación interrumpida y se deshizo. Este catálogo de plantillas está como estaba antes de ella:"},
    {"IDS_BACKUP_KEPT", "No se pudieron devolver a su sitio todos los archivos originales. Los originales restantes se conservan en esta carpeta:"},
    {"IDS_TERMINAL_CONTINUE", "Pulse Intro para continuar o Ctrl+C para salir"},
    {"IDS_TERMINAL_BADPATH", "La ruta escrita no se puede leer en la codificación de la configuración regional actual. Escríbala de nuevo."},
    {"IDS_HELP_TERMINAL", "Con -T o /T las preguntas se hacen en este terminal aunque se pueda abrir la pantalla; sin pantalla, siempre que la entrada estándar y la salida de errores estándar sean terminales."},
    {"IDS_DIRECTORY_BUSY", "Otra instalación en este directorio de plantillas está en curso. Espere a que termine y vuelva a iniciar el programa de instalación."},
    {"IDS_JOURNAL_SET_ASIDE", "No se pudo usar el registro de una instalación interrumpida: está dañado o ya no corresponde a su directorio de plantillas. No se cambió nada con él; se ha apartado aquí:"},
    {"IDS_RECOVERED_PARTLY", "Se encontró una instalación interrumpida y se deshizo allí donde sus archivos seguían como los había dejado; los archivos cambiados desde entonces se dejaron como están. Directorio de plantillas:"},
    {"IDS_ERROR_JOURNALDIR", "No se pudo usar esta carpeta para el registro de la instalación (indique en XDG_STATE_HOME una carpeta con permiso de escritura y vuelva a iniciar el programa de instalación):"},
    {"IDS_JOURNAL_WAITING", "Una instalación interrumpida espera su directorio de plantillas, que ya no está donde estaba (movido, renombrado o sin montar). No se cambió nada; el primer inicio que vuelva a encontrar allí el directorio terminará de deshacerla. Para terminarlo a mano, mueva los archivos originales de la carpeta de copias de seguridad de vuelta al directorio y después borre el registro. Directorio de plantillas:"},
    {"IDS_JOURNAL_KEPT", "Su registro se conserva aquí:"},
    {"IDS_ORIGINALS_IN", "Sus archivos originales están en esta carpeta de copias de seguridad:"},
    {"IDS_JOURNAL_UNREADABLE", "No se pudo leer el registro de una instalación interrumpida. No se cambió nada con él; se conserva aquí para un inicio posterior:"},
    {"IDS_ROLLBACK_UNFINISHED", "No se pudo deshacer todo lo que cambió la instalación. Su registro se conserva y el próximo inicio del programa de instalación lo intentará de nuevo. Directorio de plantillas:"},
    {"IDS_FILE_APPEARED", "Apareció un archivo donde la instalación iba a crear uno. Se dejó como está y la instalación se deshizo; vuelva a iniciar la instalación para tener en cuenta ese archivo:"},
    {"IDS_HELP_JOURNALWAITING", "  8  una instalación interrumpida espera a que vuelva su directorio de plantillas (movido, renombrado o sin montar); no se instaló nada"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Otra instalación está en curso en una carpeta dentro de este directorio de plantillas o en un directorio que lo contiene. Espere a que termine y vuelva a iniciar el programa de instalación."},
    {"IDS_ERROR_FILESIZE_LIMIT", "No se pudo descomprimir el paquete de instalación: el límite de tamaño de archivo de esta sesión (ulimit -f) es menor que el paquete descomprimido. Aumente el límite y vuelva a iniciar el programa de instalación."},
    {"IDS_RECORD_SET_ASIDE", "No se pudo leer el registro de los archivos instalados anteriormente o no superó sus comprobaciones. No se usa y no elimina nada; se ha apartado aquí:"},
    {"IDS_RECORD_DAMAGED", "No se pudo leer el registro de los archivos instalados anteriormente o no superó sus comprobaciones, y no se usa:"},
    {"IDS_NO_RECORD", "Este catálogo de modelos no contiene ningún registro de una instalación de este conjunto. No se ha cambiado nada. Catálogo de modelos:"},
    {"IDS_UNINSTALL_FINISH", "Eliminación completada..."},
    {"IDS_UNINSTALL_SUCCESS", "La configuración se ha eliminado con éxito."},
    {"IDS_UNINSTALL_CONFIRM", "¿Eliminar los archivos del conjunto de este catálogo de modelos? Los archivos que usted ha modificado se conservan. Catálogo de modelos:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Usted había modificado este archivo; su versión se ha conservado como:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Usted había modificado este archivo, que el conjunto ya no contiene; se ha conservado:"},
    {"IDS_SUMMARY_REMOVED", "Archivos eliminados:"},
    {"IDS_DRYRUN_DONE", "Ejecución de prueba: no se ha cambiado nada. Catálogo de modelos:"},
    {"IDS_VERIFY_SAME", "Todos los archivos instalados coinciden con el registro. Catálogo de modelos:"},
    {"IDS_VERIFY_DIFFERENT", "Archivos que difieren del registro:"},
    {"IDS_HELP_RECORD",
     "Registro, eliminación y comprobación (el registro se guarda en .qorn-record dentro del catálogo de modelos):\n"
     "  -N, --dry-run, /N    muestra lo que haría una instalación sin cambiar nada; una línea por archivo en la salida estándar\n"
     "  -V, --verify, /V     compara los archivos instalados con el registro del conjunto; una línea por diferencia en la salida estándar\n"
     "  -U, --uninstall, /U  elimina los archivos del conjunto que siguen tal como se instalaron; los archivos que usted modificó se conservan\n"
     "Estado de salida:\n"
     "  6  --verify encontró diferencias\n"
     "  7  el catálogo no contiene ningún registro de este conjunto (--verify, --uninstall); no se ha cambiado nada"},
    {"IDS_HELP_JSON", "Con --json, al terminar, la ejecución imprime en la salida estándar un único documento JSON que la describe (estado, directorio de plantillas, archivos); todo lo demás va a la salida de errores estándar. Pensado para -S, --dry-run, --verify y --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Con --progress-lines el progreso se escribe como una línea nueva en cada décima parte del camino en lugar de una sola línea redibujada en su sitio, para que un lector de pantalla o una línea braille puedan seguirlo; lo mismo ocurre cuando TERM es dumb."},
    {"IDS_UNINSTALL_WELCOME", "Bienvenidos al programa de desinstalación del producto"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Hay un archivo donde debería estar el catálogo de modelos o una de las carpetas que lo contienen. Catálogo de modelos:"},
    {"IDS_ERROR_TARGET_READONLY", "No se puede escribir en el catálogo de modelos (sin permiso o en un sistema de archivos de solo lectura). Catálogo de modelos:"},
    {"IDS_ERROR_KIT_UNREADABLE", "No se puede leer el archivo del conjunto de la instalación qorn.efd: este usuario no tiene permiso para leerlo."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Una instalación interrumpida en este catálogo de modelos aún no se ha deshecho. Inicie el programa de instalación sin -N ni -V para deshacerla y vuelva a comprobar. Catálogo de modelos:"},
    {"IDS_FILE_CHANGED", "Un archivo cambió cuando la instalación iba a reemplazarlo. Se dejó como está y la instalación se deshizo; vuelva a iniciar la instalación para tener en cuenta ese archivo:"},
    {"IDS_RECORD_NOT_FOLDER", "El registro de los archivos instalados en este catálogo de modelos no se puede leer ni llevar: en el lugar de su carpeta hay un enlace simbólico o un archivo, no una carpeta propia del programa de instalación. No se ha cambiado nada y ese obstáculo se dejó como está; muévalo a otro lugar o vuelva a poner en su sitio la carpeta propia del registro, y vuelva a iniciar el programa de instalación:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kSpanishMessages{14, "es", kTexts};
