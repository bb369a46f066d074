#pragma once
// Numeric identifiers of resources that have no name of their own.
