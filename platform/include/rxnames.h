// rxnames.h - key names of the system registry's well-known entries.
#pragma once

#define ACRX_CLASS_DICTIONARY "ClassDictionary"
#define ACRX_DYNAMIC_LINKER "DynamicLinker"
#define ACRX_SERVICE_DICTIONARY "ServiceDictionary"
#define ACRX_KERNEL_SERVICES "KernelServices"
